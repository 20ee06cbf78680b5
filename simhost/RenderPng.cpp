// PNG files of rendered screens through libpng: written as 8-bit RGB, read back (any PNG, converted to
// 8-bit RGB) for comparisons.
#include <cstdio>
#include <csetjmp>
#include <algorithm>
#include <vector>

#include <png.h>

#include "Harness.h"

namespace simhost {

namespace {

struct File {
    FILE *f;
    ~File()
    {
        if (f != nullptr)
            fclose(f);
    }
};

void Warning(png_structp, png_const_charp)
{
}

} // namespace

bool WritePng(const Image &image, const std::string &path, std::string &error)
{
    if (image.width <= 0 || image.height <= 0 || image.rgb.size() != (size_t)image.width * image.height * 3) {
        error = "no picture to write";
        return false;
    }
    File file{fopen(path.c_str(), "wb")};
    if (file.f == nullptr) {
        error = "cannot write " + path;
        return false;
    }
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, Warning);
    png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
    if (info == nullptr) {
        png_destroy_write_struct(&png, nullptr);
        error = "libpng cannot start";
        return false;
    }
    std::vector<png_bytep> rows((size_t)image.height);
    for (int y = 0; y < image.height; y++)
        rows[(size_t)y] = const_cast<png_bytep>(&image.rgb[(size_t)y * (size_t)image.width * 3]);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        error = "libpng failed writing " + path;
        return false;
    }
    png_init_io(png, file.f);
    png_set_IHDR(png, info, (png_uint_32)image.width, (png_uint_32)image.height, 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_compression_level(png, 9);
    png_set_rows(png, info, rows.data());
    png_write_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
    png_destroy_write_struct(&png, &info);
    if (fflush(file.f) != 0 || ferror(file.f)) {
        error = "cannot write " + path;
        return false;
    }
    return true;
}

bool ReadPng(const std::string &path, Image &out, std::string &error)
{
    File file{fopen(path.c_str(), "rb")};
    if (file.f == nullptr) {
        error = "cannot open " + path;
        return false;
    }
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, Warning);
    png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
    if (info == nullptr) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        error = "libpng cannot start";
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        error = path + " is not a readable PNG file";
        return false;
    }
    png_init_io(png, file.f);
    png_read_png(png, info,
                 PNG_TRANSFORM_STRIP_16 | PNG_TRANSFORM_PACKING | PNG_TRANSFORM_EXPAND | PNG_TRANSFORM_STRIP_ALPHA |
                     PNG_TRANSFORM_GRAY_TO_RGB,
                 nullptr);
    int width = (int)png_get_image_width(png, info), height = (int)png_get_image_height(png, info);
    png_bytepp rows = png_get_rows(png, info);
    if (png_get_channels(png, info) != 3 || rows == nullptr) {
        png_destroy_read_struct(&png, &info, nullptr);
        error = path + ": unexpected PNG layout";
        return false;
    }
    out.width = width;
    out.height = height;
    out.rgb.resize((size_t)width * (size_t)height * 3);
    for (int y = 0; y < height; y++)
        std::copy(rows[y], rows[y] + (size_t)width * 3, &out.rgb[(size_t)y * (size_t)width * 3]);
    png_destroy_read_struct(&png, &info, nullptr);
    return true;
}

} // namespace simhost
