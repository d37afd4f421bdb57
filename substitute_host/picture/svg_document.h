// A plain SVG 1.1 document built from whole-pixel shapes and texts in the
// generic sans-serif family. Numbers are written as integers and texts are
// escaped, so the same drawing gives the same bytes on every target and every
// viewer can open it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "picture/dialog_layout.h"

namespace substitute {

inline constexpr int32_t svgFontSize = 12;  // pixels; a 14-pixel line holds it
inline constexpr int32_t svgAscent = 11;    // from a text line's top to its baseline

// Text as XML character data: markup characters escaped, characters XML does
// not allow and broken UTF-8 replaced by U+FFFD, line breaks and tabs by spaces.
std::string xmlText(std::string_view text);

enum class TextAnchor : uint8_t { Start, Middle };

struct Point {
    int32_t x = 0, y = 0;
};

class SvgDocument {
public:
    SvgDocument(int32_t width, int32_t height, std::string_view title);

    void rect(const Box& box, std::string_view fill);
    // A frame one pixel wide just inside box; the inside stays as it was.
    void outline(const Box& box, std::string_view color);
    void polygon(const std::vector<Point>& points, std::string_view fill);
    // An open line two pixels wide.
    void polyline(const std::vector<Point>& points, std::string_view color);
    // Text whose line (14 pixels high) starts at top.
    void text(int32_t x, int32_t top, std::string_view content, std::string_view color,
              TextAnchor anchor = TextAnchor::Start, bool bold = false);
    // Shapes until endClip() are cut off outside box.
    void beginClip(const Box& box);
    void endClip();

    // The finished document; the object is spent.
    std::string finish();

private:
    std::string out_;
    int32_t clips_ = 0;
};

}  // namespace substitute
