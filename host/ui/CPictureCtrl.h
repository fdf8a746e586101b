#pragma once

#include "host/TQHostExport.h"

#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QString>

/// The host's picture area: shows one picture file, or NoPictureText() ("无示意图片") while it
/// holds none, and reports left clicks. Reads what CPictureEx reads; a file that cannot be read
/// leaves the area empty.
class TQHOST_EXPORT CPictureCtrl : public QLabel
{
    Q_OBJECT

public:
    /// `mode` 0: the picture at its natural size from the top-left corner, cut off at the edges.
    /// Any other mode: the picture centred, shrunk to fit the area with its aspect ratio kept
    /// (never enlarged), so an area at least as large as the picture shows it at natural size.
    explicit CPictureCtrl(int mode, QWidget* parent = nullptr);
    ~CPictureCtrl() override;

    /// Shows the picture at `path`; false, and the area empty, when it cannot be read.
    bool LoadImageW(const QString& path);
    /// Shows `image` (a picture drawn rather than read); a null image empties the area.
    void SetImage(const QImage& image);
    /// Empties the area.
    void FreeImage();
    bool HasImage() const { return !m_image.isNull(); }
    const QImage& GetImage() const { return m_image; }

    /// Non-zero (the default): a pointing-hand cursor over a shown picture says a click opens it.
    /// 0: the ordinary cursor, for a picture that is already the enlarged view. Clicks are
    /// reported either way.
    void EnableViewBmp(int bEnable);

signals:
    /// The left mouse button was pressed and released over the area.
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QRect PictureRect() const;
    void UpdateCursor();

    int m_nMode = 1;
    bool m_bViewBmp = true;
    QImage m_image;
    QPixmap m_scaled; ///< m_image at the size last drawn, kept so a repaint does not scale again
};
