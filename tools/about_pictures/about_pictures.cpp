// Draws the two background pictures of the about windows, compresses them as JPEG and writes
// them as byte arrays into a C++ source compiled into the program.
//   about_pictures OUTPUT.cpp
#include <turbojpeg.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

struct Rgb {
    double r, g, b;
};

struct Picture {
    const char* name; // the array's name in the generated source
    int width;
    int height;
    std::vector<unsigned char> pixels; // RGB, row by row
};

Picture uniform(const char* name, int width, int height, Rgb colour) {
    Picture p{name, width, height, {}};
    p.pixels.reserve(std::size_t(width) * std::size_t(height) * 3);
    for (int i = 0; i < width * height; ++i) {
        p.pixels.insert(p.pixels.end(),
                        {static_cast<unsigned char>(colour.r), static_cast<unsigned char>(colour.g),
                         static_cast<unsigned char>(colour.b)});
    }
    return p;
}

// From `left` to `right`, the lines of equal colour leaning slightly (lower rows are further on).
Picture gradient(const char* name, int width, int height, Rgb left, Rgb right) {
    Picture p{name, width, height, {}};
    constexpr double kLean = 0.25;
    const double span = (width - 1) + kLean * (height - 1);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const double t = (x + kLean * y) / span;
            for (double c : {left.r + t * (right.r - left.r), left.g + t * (right.g - left.g),
                             left.b + t * (right.b - left.b)}) {
                p.pixels.push_back(static_cast<unsigned char>(std::lround(c)));
            }
        }
    }
    return p;
}

std::vector<unsigned char> compress(const Picture& p) {
    tjhandle handle = tjInitCompress();
    if (!handle) {
        throw std::runtime_error("the JPEG compressor cannot start");
    }
    unsigned char* jpeg = nullptr;
    unsigned long size = 0;
    const int rc = tjCompress2(handle, p.pixels.data(), p.width, 0, p.height, TJPF_RGB, &jpeg,
                               &size, TJSAMP_444, 92, TJFLAG_ACCURATEDCT);
    if (rc != 0) {
        const std::string error = tjGetErrorStr2(handle);
        tjDestroy(handle);
        throw std::runtime_error("JPEG compression failed: " + error);
    }
    std::vector<unsigned char> out(jpeg, jpeg + size);
    tjFree(jpeg);
    tjDestroy(handle);
    return out;
}

void write_array(std::ostream& out, const char* name, const std::vector<unsigned char>& bytes) {
    out << "extern const unsigned char " << name << "[];\n";
    out << "extern const std::size_t " << name << "Size;\n";
    out << "const unsigned char " << name << "[] = {";
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        out << (i % 16 == 0 ? "\n    " : " ") << unsigned(bytes[i]) << ',';
    }
    out << "\n};\n";
    out << "const std::size_t " << name << "Size = sizeof(" << name << ");\n\n";
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: about_pictures OUTPUT.cpp\n";
        return 2;
    }
    try {
        const Picture pictures[] = {
            // About the system: a light cyan area under black text.
            uniform("kSystem", 835, 570, {204, 242, 250}),
            // About the developer: green to orange-brown, dark enough for white text.
            gradient("kDeveloper", 543, 270, {34, 120, 56}, {168, 88, 30}),
        };
        const std::string path = argv[1];
        const std::string temporary = path + ".tmp";
        {
            std::ofstream out(temporary, std::ios::binary);
            out << "// The pictures of the about windows as JPEG data, written by about_pictures.\n"
                   "#include <cstddef>\n\nnamespace about_pictures {\n\n";
            for (const auto& p : pictures) {
                write_array(out, p.name, compress(p));
            }
            out << "} // namespace about_pictures\n";
            if (!out.flush()) {
                throw std::runtime_error("cannot write " + temporary);
            }
        }
        if (std::rename(temporary.c_str(), path.c_str()) != 0) {
            throw std::runtime_error("cannot write " + path);
        }
    } catch (const std::exception& e) {
        std::cerr << "about_pictures: " << e.what() << '\n';
        return 1;
    }
    return 0;
}
