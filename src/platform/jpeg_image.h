#pragma once

#include <QImage>

#include <cstddef>
#include <span>

// Decodes JPEG data with libjpeg-turbo. Data that is not a readable JPEG, or whose picture is
// implausibly large, gives a null image.
QImage decodeJpeg(std::span<const unsigned char> data);

// The background pictures of the about windows, stored in the program as JPEG data.
enum class AboutPicture {
    System,    // 835 x 570, light cyan
    Developer, // 543 x 270, green to orange-brown
};
std::span<const unsigned char> aboutPictureJpeg(AboutPicture picture);
