#pragma once

#include "TQWallExport.h"

#include <QDialog>
#include <QImage>
#include <QSize>
#include <QString>

class CPictureCtrl;
class QScrollBar;

/// Shows a demo picture at its natural size in a window titled "围护结构示例图片". The window is
/// sized to the picture and gets scroll bars where the picture is larger than the screen; a click
/// closes it. The caller passes a picture file that exists.
class TQWALL_EXPORT CTqUiBSViewPicDlg : public QDialog
{
    Q_OBJECT

public:
    /// What the window's size is computed from, in pixels.
    struct Metrics
    {
        int nBorder = 0;        ///< thickness of the window border
        int nCaption = 0;       ///< height of the title bar
        QSize screen;           ///< room the window may take on the screen
        int nVScrollWidth = 0;  ///< width of a vertical scroll bar
        int nHScrollHeight = 0; ///< height of a horizontal scroll bar
    };

    /// What a scroll bar asks for; "left" and "up", "right" and "down" share their codes.
    enum ScrollCode
    {
        SB_LINELEFT = 0,
        SB_LINERIGHT = 1,
        SB_PAGELEFT = 2,
        SB_PAGERIGHT = 3,
        SB_THUMBPOSITION = 4,
        SB_THUMBTRACK = 5,
        SB_LEFT = 6,
        SB_RIGHT = 7,
        SB_ENDSCROLL = 8,
    };

    explicit CTqUiBSViewPicDlg(const QString& path, QWidget* parent = nullptr);
    /// Shows a picture already in memory: a section drawn from a construction's layers.
    explicit CTqUiBSViewPicDlg(const QImage& image, QWidget* parent = nullptr);
    ~CTqUiBSViewPicDlg() override;

protected:
    /// Title, size and picture; returns 1.
    virtual int OnInitDialog();
    /// Border, title bar and scroll bar sizes from the style (or from the calling window's real
    /// frame when it is shown) and the available size of the screen.
    virtual Metrics GetSystemMetrics() const;

public:
    /// Runs the window modally; it always ends as closed (QDialog::Rejected).
    int DoModal();
    /// The window is sized to the picture when it is first shown.
    void setVisible(bool visible) override;

protected:
    /// Sizes the window and the picture area to the picture and sets up the scroll bars.
    void ResetDlgSize();
    void OnHScroll(int code, int thumbPosition);
    void OnVScroll(int code, int thumbPosition);

    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

    QString m_strPicPath; ///< full path of the picture file; empty for a picture given in memory
    QImage m_image;       ///< the picture shown, read from m_strPicPath when the window is first shown

private:
    void OnScrollAction(QScrollBar* bar, int action);

    CPictureCtrl* m_pPicture = nullptr;
    QScrollBar* m_pHScroll = nullptr;
    QScrollBar* m_pVScroll = nullptr;
    bool m_bInitialised = false;
};
