#pragma once

#include "host/TQHostExport.h"

#include <QImage>
#include <QLabel>
#include <QSize>
#include <QString>

class QPaintDevice;

/// A picture read from a file and shown at its natural size, for asking a picture's size before
/// showing it. Every format Qt reads is accepted (JPEG, PNG, BMP, GIF, ...); a file that is
/// missing, empty, damaged or no picture leaves the control empty, showing NoPictureText().
class TQHOST_EXPORT CPictureEx : public QLabel
{
    Q_OBJECT

public:
    explicit CPictureEx(QWidget* parent = nullptr);
    ~CPictureEx() override;

    /// Reads the picture at `path`; false, and nothing loaded, when it cannot be read.
    bool Load(const QString& path);

    /// The loaded picture's size in pixels, 0 × 0 when nothing is loaded. With a device, the size
    /// the picture takes on it: pixels scaled from the picture's own resolution to the device's.
    QSize GetImageSize(QPaintDevice* dc = nullptr) const;

    /// The text a picture control shows while it holds no picture.
    static QString NoPictureText();

    /// The picture at `path` as the picture controls read it (orientation tags applied); a null
    /// image when there is none to read. Never throws, whatever the file holds.
    static QImage ReadImage(const QString& path);

private:
    QImage m_image;
};
