#include "scene/built_in_plugins.h"

#include "host/host_scene_tables.h"

namespace substitute {
namespace {
constexpr BuiltInPlugin table[] = {
    {5100, HOST_PLUGIN_KIND_OBJECT, "Polygon"},
    {5102, HOST_PLUGIN_KIND_OBJECT, "Light"},
    {5103, HOST_PLUGIN_KIND_OBJECT, "Camera"},
    {5140, HOST_PLUGIN_KIND_OBJECT, "Null"},
    {5159, HOST_PLUGIN_KIND_OBJECT, "Cube"},
    {5160, HOST_PLUGIN_KIND_OBJECT, "Sphere"},
    {5168, HOST_PLUGIN_KIND_OBJECT, "Plane"},
    {5600, HOST_PLUGIN_KIND_TAG, "Point"},
    {5612, HOST_PLUGIN_KIND_TAG, "Phong"},
    {5616, HOST_PLUGIN_KIND_TAG, "Texture"},
    {5671, HOST_PLUGIN_KIND_TAG, "UVW"},
    {5703, HOST_PLUGIN_KIND_MATERIAL, "Material"},
    {5832, HOST_PLUGIN_KIND_SHADER, "Color"},
    {1011100, HOST_PLUGIN_KIND_SHADER, "Gradient"},
    {1011116, HOST_PLUGIN_KIND_SHADER, "Noise"},
    {HOST_LAYER_SHADER_TYPE, HOST_PLUGIN_KIND_SHADER, "Layer"},
    {1018767, HOST_PLUGIN_KIND_SHADER, "Fresnel"},
    {1001, HOST_PLUGIN_KIND_VIDEO_POST, "Watermark"},
    {1002, HOST_PLUGIN_KIND_VIDEO_POST, "Lens Effects"},
    {1040, HOST_PLUGIN_KIND_VIDEO_POST, "Depth of Field"},
    {300001, HOST_PLUGIN_KIND_VIDEO_POST, "Ambient Occlusion"},
};
}  // namespace

std::span<const BuiltInPlugin> builtInPlugins() { return table; }

}  // namespace substitute
