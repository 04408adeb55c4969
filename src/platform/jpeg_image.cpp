#include "jpeg_image.h"

#include <turbojpeg.h>

#include <limits>
#include <memory>

// Written at build time by tools/about_pictures.
namespace about_pictures {
extern const unsigned char kSystem[];
extern const std::size_t kSystemSize;
extern const unsigned char kDeveloper[];
extern const std::size_t kDeveloperSize;
} // namespace about_pictures

namespace {

// Far beyond any picture of the system; keeps a damaged header from asking for gigabytes.
constexpr long long kMaxPixels = 64LL * 1024 * 1024;

struct HandleCloser {
    void operator()(void* handle) const { tjDestroy(handle); }
};

} // namespace

QImage decodeJpeg(std::span<const unsigned char> data) {
    if (data.empty() || data.size() > std::numeric_limits<unsigned long>::max()) {
        return {};
    }
    const std::unique_ptr<void, HandleCloser> handle(tjInitDecompress());
    if (!handle) {
        return {};
    }
    int width = 0, height = 0, subsampling = 0, colourspace = 0;
    if (tjDecompressHeader3(handle.get(), data.data(), static_cast<unsigned long>(data.size()),
                            &width, &height, &subsampling, &colourspace) != 0 ||
        width <= 0 || height <= 0 || static_cast<long long>(width) * height > kMaxPixels) {
        return {};
    }
    // RGBX bytes in memory order on every machine.
    QImage image(width, height, QImage::Format_RGBX8888);
    if (image.isNull()) {
        return {};
    }
    if (tjDecompress2(handle.get(), data.data(), static_cast<unsigned long>(data.size()),
                      image.bits(), width, static_cast<int>(image.bytesPerLine()), height,
                      TJPF_RGBX, TJFLAG_ACCURATEDCT) != 0) {
        return {};
    }
    return image.convertToFormat(QImage::Format_RGB32);
}

std::span<const unsigned char> aboutPictureJpeg(AboutPicture picture) {
    switch (picture) {
    case AboutPicture::System:
        return {about_pictures::kSystem, about_pictures::kSystemSize};
    case AboutPicture::Developer:
        return {about_pictures::kDeveloper, about_pictures::kDeveloperSize};
    }
    return {};
}
