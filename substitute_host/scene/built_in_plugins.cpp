#include "scene/built_in_plugins.h"

namespace substitute {
namespace {
constexpr BuiltInPlugin table[] = {
    {5100, 5, "Polygon"},
    {5102, 5, "Light"},
    {5103, 5, "Camera"},
    {5140, 5, "Null"},
    {5159, 5, "Cube"},
    {5160, 5, "Sphere"},
    {5168, 5, "Plane"},
    {5600, 6, "Point"},
    {5612, 6, "Phong"},
    {5616, 6, "Texture"},
    {5671, 6, "UVW"},
    {5703, 2, "Material"},
    {5832, 1, "Color"},
    {1011100, 1, "Gradient"},
    {1011116, 1, "Noise"},
    {1011123, 1, "Layer"},
    {1018767, 1, "Fresnel"},
    {1001, 8, "Watermark"},
    {1002, 8, "Lens Effects"},
    {1040, 8, "Depth of Field"},
    {300001, 8, "Ambient Occlusion"},
};
}  // namespace

std::span<const BuiltInPlugin> builtInPlugins() { return table; }

}  // namespace substitute
