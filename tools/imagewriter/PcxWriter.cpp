#include "PcxWriter.h"

#include <algorithm>

#include "ByteSink.h"

namespace zelvane::tools {

namespace {

constexpr uint8_t kRunMarker = 0xC0;
constexpr size_t kMaxRun = 63;
constexpr uint8_t kTableMarker = 0x0C;
constexpr uint16_t kResolution = 72;

struct FormLayout {
    uint8_t bitsPerPixel;
    uint8_t planes;
};

FormLayout layoutOf(PcxWriteForm form) {
    switch (form) {
        case PcxWriteForm::kMonochrome:
            return {1, 1};
        case PcxWriteForm::kBitPlanes2:
            return {1, 2};
        case PcxWriteForm::kBitPlanes4:
            return {1, 4};
        case PcxWriteForm::kNibbles:
            return {4, 1};
        case PcxWriteForm::kIndexed:
            return {8, 1};
        case PcxWriteForm::kRgb:
            break;
    }
    return {8, 3};
}

uint16_t bytesPerLineOf(const Image& image, PcxWriteForm form, const PcxWriteOptions& options) {
    if (options.bytesPerLine != 0) {
        return options.bytesPerLine;
    }
    const uint32_t least = pcxPixelBytes(image.width, form);
    return static_cast<uint16_t>(least + least % 2);
}

void appendPalette16(std::vector<uint8_t>& out, const Image& image) {
    for (size_t index = 0; index < 16; ++index) {
        for (size_t channel = 0; channel < 3; ++channel) {
            appendU8(out, index < image.palette.size() ? image.palette[index][channel] : 0);
        }
    }
}

void appendHeader(std::vector<uint8_t>& out, const Image& image, PcxWriteForm form, const PcxWriteOptions& options) {
    const FormLayout layout = layoutOf(form);
    appendU8(out, 0x0A);
    appendU8(out, options.version);
    appendU8(out, 1);
    appendU8(out, layout.bitsPerPixel);
    appendU16(out, options.xMin);
    appendU16(out, options.yMin);
    appendU16(out, options.xMin + image.width - 1);
    appendU16(out, options.yMin + image.height - 1);
    appendU16(out, kResolution);
    appendU16(out, kResolution);
    appendPalette16(out, image);
    appendU8(out, 0);
    appendU8(out, layout.planes);
    appendU16(out, bytesPerLineOf(image, form, options));
    appendU16(out, 1);  // colour palette
    appendU16(out, image.width);
    appendU16(out, image.height);
    appendZeros(out, 54);
}

// One plane of one row, before padding.
std::vector<uint8_t> planeBytes(const Image& image, PcxWriteForm form, uint32_t y, uint32_t plane) {
    const uint32_t width = image.width;
    std::vector<uint8_t> bytes(pcxPixelBytes(width, form), 0);
    const uint8_t* row = image.pixels.data() + size_t{y} * width * (form == PcxWriteForm::kRgb ? 3 : 1);
    for (uint32_t x = 0; x < width; ++x) {
        if (form == PcxWriteForm::kRgb) {
            bytes[x] = row[3 * x + plane];
        } else if (form == PcxWriteForm::kIndexed) {
            bytes[x] = row[x];
        } else if (form == PcxWriteForm::kNibbles) {
            bytes[x / 2] = static_cast<uint8_t>(bytes[x / 2] | (row[x] & 0x0F) << (x % 2 == 0 ? 4 : 0));
        } else {
            bytes[x / 8] = static_cast<uint8_t>(bytes[x / 8] | ((row[x] >> plane) & 1) << (7 - x % 8));
        }
    }
    return bytes;
}

void appendRun(std::vector<uint8_t>& out, uint8_t value, size_t count) {
    if (count == 1 && (value & kRunMarker) != kRunMarker) {
        appendU8(out, value);
        return;
    }
    appendU8(out, kRunMarker | static_cast<uint8_t>(count));
    appendU8(out, value);
}

void appendEncoded(std::vector<uint8_t>& out, const std::vector<uint8_t>& raw) {
    for (size_t at = 0; at < raw.size();) {
        size_t count = 1;
        while (at + count < raw.size() && count < kMaxRun && raw[at + count] == raw[at]) {
            ++count;
        }
        appendRun(out, raw[at], count);
        at += count;
    }
}

void appendPixelData(std::vector<uint8_t>& out, const Image& image, PcxWriteForm form,
                     const PcxWriteOptions& options) {
    const uint16_t bytesPerLine = bytesPerLineOf(image, form, options);
    std::vector<uint8_t> pending;
    for (uint32_t y = 0; y < image.height; ++y) {
        for (uint32_t plane = 0; plane < layoutOf(form).planes; ++plane) {
            std::vector<uint8_t> bytes = planeBytes(image, form, y, plane);
            bytes.resize(std::max<size_t>(bytes.size(), bytesPerLine), options.paddingByte);
            pending.insert(pending.end(), bytes.begin(), bytes.end());
            if (options.runScope == PcxRunScope::kPlane) {
                appendEncoded(out, pending);
                pending.clear();
            }
        }
        if (options.runScope == PcxRunScope::kScanline) {
            appendEncoded(out, pending);
            pending.clear();
        }
    }
    appendEncoded(out, pending);
}

void appendTable(std::vector<uint8_t>& out, const Image& image, PcxPaletteEnd end) {
    if (end == PcxPaletteEnd::kNothing) {
        return;
    }
    appendU8(out, end == PcxPaletteEnd::kTable ? kTableMarker : 0);
    for (size_t index = 0; index < 256; ++index) {
        for (size_t channel = 0; channel < 3; ++channel) {
            appendU8(out, index < image.palette.size() ? image.palette[index][channel] : 0);
        }
    }
}

}  // namespace

uint32_t pcxPixelBytes(uint32_t width, PcxWriteForm form) {
    return (width * layoutOf(form).bitsPerPixel + 7) / 8;
}

std::vector<uint8_t> encodePcx(const Image& image, PcxWriteForm form, const PcxWriteOptions& options) {
    std::vector<uint8_t> out;
    appendHeader(out, image, form, options);
    appendPixelData(out, image, form, options);
    if (form == PcxWriteForm::kIndexed) {
        appendTable(out, image, options.paletteEnd);
    }
    return out;
}

}  // namespace zelvane::tools
