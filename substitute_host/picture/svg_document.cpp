#include "picture/svg_document.h"

#include <algorithm>

namespace substitute {
namespace {
constexpr std::string_view replacement = "\xEF\xBF\xBD";  // U+FFFD

std::string number(int32_t value) { return std::to_string(value); }

// The length of the well-formed UTF-8 sequence at text[at] and its code
// point; 0 when the bytes there are not one.
size_t decodeUtf8(std::string_view text, size_t at, uint32_t& codePoint) {
    const auto lead = uint8_t(text[at]);
    size_t length = 0;
    uint32_t minimum = 0;
    if (lead < 0x80) {
        codePoint = lead;
        return 1;
    }
    if ((lead & 0xE0) == 0xC0) length = 2, minimum = 0x80, codePoint = lead & 0x1F;
    if ((lead & 0xF0) == 0xE0) length = 3, minimum = 0x800, codePoint = lead & 0x0F;
    if ((lead & 0xF8) == 0xF0) length = 4, minimum = 0x10000, codePoint = lead & 0x07;
    if (length == 0 || at + length > text.size()) return 0;
    for (size_t i = 1; i < length; ++i) {
        const auto next = uint8_t(text[at + i]);
        if ((next & 0xC0) != 0x80) return 0;
        codePoint = (codePoint << 6) | (next & 0x3F);
    }
    const bool surrogate = codePoint >= 0xD800 && codePoint <= 0xDFFF;
    return codePoint < minimum || codePoint > 0x10FFFF || surrogate ? 0 : length;
}

bool allowedInXml(uint32_t codePoint) { return codePoint >= 0x20 && codePoint != 0xFFFE && codePoint != 0xFFFF; }

std::string points(const std::vector<Point>& corners) {
    std::string list;
    for (const Point& point : corners) {
        if (!list.empty()) list += ' ';
        list += number(point.x) + ',' + number(point.y);
    }
    return list;
}
}  // namespace

std::string xmlText(std::string_view text) {
    std::string out;
    for (size_t at = 0; at < text.size();) {
        uint32_t codePoint = 0;
        const size_t length = decodeUtf8(text, at, codePoint);
        if (length == 0) {
            out += replacement;
            ++at;
            continue;
        }
        switch (codePoint) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            case '\t':
            case '\n':
            case '\r': out += ' '; break;
            default: out += allowedInXml(codePoint) ? text.substr(at, length) : replacement;
        }
        at += length;
    }
    return out;
}

SvgDocument::SvgDocument(int32_t width, int32_t height, std::string_view title) {
    out_ = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    out_ += "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"" + number(width) + "\" height=\"" +
            number(height) + "\" viewBox=\"0 0 " + number(width) + ' ' + number(height) + "\">\n";
    out_ += "<title>" + xmlText(title) + "</title>\n";
    out_ += "<g font-family=\"sans-serif\" font-size=\"" + number(svgFontSize) + "\" xml:space=\"preserve\">\n";
}

void SvgDocument::rect(const Box& box, std::string_view fill) {
    if (box.width <= 0 || box.height <= 0) return;
    out_ += "<rect x=\"" + number(box.x) + "\" y=\"" + number(box.y) + "\" width=\"" + number(box.width) +
            "\" height=\"" + number(box.height) + "\" fill=\"" + std::string(fill) + "\"/>\n";
}

void SvgDocument::outline(const Box& box, std::string_view color) {
    if (box.width <= 2 || box.height <= 2) return rect(box, color);
    // The outer rectangle less the inner one: crisp one-pixel lines on whole pixels.
    out_ += "<path fill-rule=\"evenodd\" fill=\"" + std::string(color) + "\" d=\"M" + number(box.x) + ' ' +
            number(box.y) + 'h' + number(box.width) + 'v' + number(box.height) + 'h' + number(-box.width) + "z M" +
            number(box.x + 1) + ' ' + number(box.y + 1) + 'v' + number(box.height - 2) + 'h' + number(box.width - 2) +
            'v' + number(2 - box.height) + "z\"/>\n";
}

void SvgDocument::polygon(const std::vector<Point>& corners, std::string_view fill) {
    out_ += "<polygon points=\"" + points(corners) + "\" fill=\"" + std::string(fill) + "\"/>\n";
}

void SvgDocument::polyline(const std::vector<Point>& corners, std::string_view color) {
    out_ += "<polyline points=\"" + points(corners) + "\" fill=\"none\" stroke=\"" + std::string(color) +
            "\" stroke-width=\"2\"/>\n";
}

void SvgDocument::text(int32_t x, int32_t top, std::string_view content, std::string_view color, TextAnchor anchor,
                       bool bold) {
    if (content.empty()) return;
    out_ += "<text x=\"" + number(x) + "\" y=\"" + number(top + svgAscent) + "\" fill=\"" + std::string(color) + '"';
    if (anchor == TextAnchor::Middle) out_ += " text-anchor=\"middle\"";
    if (bold) out_ += " font-weight=\"bold\"";
    out_ += '>' + xmlText(content) + "</text>\n";
}

void SvgDocument::beginClip(const Box& box) {
    const std::string id = "clip" + number(++clips_);
    out_ += "<clipPath id=\"" + id + "\"><rect x=\"" + number(box.x) + "\" y=\"" + number(box.y) + "\" width=\"" +
            number(std::max(box.width, 0)) + "\" height=\"" + number(std::max(box.height, 0)) +
            "\"/></clipPath>\n<g clip-path=\"url(#" + id + ")\">\n";
}

void SvgDocument::endClip() { out_ += "</g>\n"; }

std::string SvgDocument::finish() {
    out_ += "</g>\n</svg>\n";
    return std::move(out_);
}

}  // namespace substitute
