#pragma once
// JPEG decoding with libjpeg, for the picture of the main window.

#include <QByteArray>
#include <QImage>

namespace zeb::gui {

// The decoded picture as an RGB image; a null QImage when the data are not a JPEG that libjpeg
// can decode to RGB (also when it is truncated or corrupt).
QImage DecodeJpeg(const QByteArray& data);

} // namespace zeb::gui
