// The results list's texts: the fixed texts of its cells and headers, made
// before drawing needs them, and the text each cell and header shows.
#include "results.h"

#include <cstdint>
#include <iterator>

namespace {
constexpr const char* channelNameTexts[HOST_MATERIAL_CHANNEL_COUNT] = {
    "Color",    "Luminance",      "Transparency", "Reflectance",  "Environment", "Fog",    "Bump",    "Alpha",
    "Specular", "Specular Color", "Glow",         "Displacement", "Diffusion",   "Normal", "Unnamed",
};
constexpr const char* otherCellTexts[] = {"--", "Custom", "Yes", "No"};

struct HeaderText {
    PluginType pluginType;
    int32_t column;
    const char* text;
};
constexpr HeaderText headerTexts[] = {
    {PluginType::Tag, COLUMN_NAME, "Object With Tag"},
    {PluginType::Tag, COLUMN_TAG, "Tag Name"},
    {PluginType::Shader, COLUMN_NAME, "Material"},
    {PluginType::Shader, COLUMN_CHANNEL, "Channel"},
    {PluginType::Shader, COLUMN_IN_LAYER, "In Layer Shader?"},
    {PluginType::Object, COLUMN_NAME, "Object Name"},
    {PluginType::PostEffect, COLUMN_NAME, "Post Effect"},
    {PluginType::PostEffect, COLUMN_RENDER_SETTINGS, "Render Settings"},
    {PluginType::Material, COLUMN_NAME, "Material"},
};
struct MissingHeaderText {
    int32_t column;
    const char* text;
};
constexpr MissingHeaderText missingHeaderTexts[] = {
    {COLUMN_SCENE_FILE, "Scene File"}, {COLUMN_PLUGIN_ID, "Plugin ID"}, {COLUMN_TYPE, "Type"},
    {COLUMN_INSTANCES, "Instances"},   {COLUMN_NAME, "Name"},           {COLUMN_CLEANED_COPY, "Cleaned Copy"},
};
// The shaders of every element: these two, and the shader list's others.
constexpr MissingHeaderText ownerHeaderTexts[] = {{COLUMN_NAME, "Owner"}, {COLUMN_OWNER_TYPE, "Owner Type"}};

// Where each kind of fixed text starts in ResultTreeCallbacks::listTexts.
constexpr int32_t textNone = HOST_MATERIAL_CHANNEL_COUNT;
constexpr int32_t textCustom = textNone + 1;
constexpr int32_t textYes = textNone + 2;
constexpr int32_t textNo = textNone + 3;
constexpr int32_t textTypes = textNone + int32_t(std::size(otherCellTexts));
constexpr int32_t textHeaders = textTypes + int32_t(std::size(pluginTypeEntries));
constexpr int32_t textMissingHeaders = textHeaders + int32_t(std::size(headerTexts));
constexpr int32_t textOwnerHeaders = textMissingHeaders + int32_t(std::size(missingHeaderTexts));
static_assert(textOwnerHeaders + int32_t(std::size(ownerHeaderTexts)) == ResultTreeCallbacks::listTextCount);

const char* listTextSource(int32_t index) {
    if (index < textNone) return channelNameTexts[index];
    if (index < textTypes) return otherCellTexts[index - textNone];
    if (index < textHeaders) return pluginTypeEntries[index - textTypes].text;
    if (index < textMissingHeaders) return headerTexts[index - textHeaders].text;
    if (index < textOwnerHeaders) return missingHeaderTexts[index - textMissingHeaders].text;
    return ownerHeaderTexts[index - textOwnerHeaders].text;
}

bool isOwnerType(int32_t type) {
    return type == entryId(PluginType::Material) || type == entryId(PluginType::Object) ||
           type == entryId(PluginType::Tag) || type == entryId(PluginType::PostEffect);
}
}  // namespace

ResultTreeCallbacks::ResultTreeCallbacks() { makeListTexts(); }

ResultTreeCallbacks::~ResultTreeCallbacks() {
    for (host::String& text : listTexts) text.release();
}

bool ResultTreeCallbacks::makeListTexts() {
    bool made = true;
    for (int32_t i = 0; i < listTextCount; ++i) {
        if (listTexts[i].refused() || listTexts[i].handle() == nullptr) listTexts[i] = host::String(listTextSource(i));
        made = made && !listTexts[i].refused();
    }
    return made;
}

host::String ResultTreeCallbacks::cellText(const ResultRecord& record, int32_t column) const {
    if (listsFolder && column == COLUMN_SCENE_FILE) return record.sceneFile;
    if (listsCopies && column == COLUMN_CLEANED_COPY) return record.cleanedCopy;
    if (listsMissing) {
        // The not-found row (no instances) shows its text first.
        if (record.instances == 0) return column == COLUMN_PLUGIN_ID ? record.name : host::String();
        if (column == COLUMN_PLUGIN_ID) return record.pluginIdText;
        if (column == COLUMN_TYPE)
            return isPluginType(record.pluginType) ? listTexts[textTypes + entryId(record.pluginType)] : host::String();
        if (column == COLUMN_INSTANCES) return record.instancesText;
        if (column == COLUMN_NAME) return record.name;
        return {};
    }
    if (listsOwners && listPluginType == PluginType::Shader) return ownerCellText(record, column);
    if (column == COLUMN_NAME) return record.name;
    if (listPluginType == PluginType::Tag && column == COLUMN_TAG) return record.tagName;
    if (listPluginType == PluginType::PostEffect && listsRenderSettings && column == COLUMN_RENDER_SETTINGS)
        return record.renderSettingsName;
    if (listPluginType != PluginType::Shader) return {};
    if (column == COLUMN_CHANNEL) {
        // One unsigned test: every negative channel but -1 is "Custom" too.
        if (uint32_t(record.channel) < uint32_t(HOST_MATERIAL_CHANNEL_COUNT)) return listTexts[record.channel];
        return listTexts[record.channel == -1 ? textNone : textCustom];
    }
    if (column == COLUMN_IN_LAYER) {
        if (record.channel == -1) return listTexts[textNone];
        return listTexts[record.inLayerShader ? textYes : textNo];
    }
    return {};
}

// A row of the shaders of every element: the owner (a tag by its own name),
// its type, the channel only inside a material's channels. The not-found row
// shows its text alone.
host::String ResultTreeCallbacks::ownerCellText(const ResultRecord& record, int32_t column) const {
    const bool owned = isOwnerType(record.ownerType);
    if (column == COLUMN_NAME)
        return owned && record.ownerType == entryId(PluginType::Tag) ? record.tagName : record.name;
    if (!owned) return {};
    if (column == COLUMN_OWNER_TYPE) return listTexts[textTypes + record.ownerType];
    if (column == COLUMN_CHANNEL) {
        if (record.channel == -1) return {};
        if (uint32_t(record.channel) < uint32_t(HOST_MATERIAL_CHANNEL_COUNT)) return listTexts[record.channel];
        return listTexts[textCustom];
    }
    if (column == COLUMN_IN_LAYER) return listTexts[record.inLayerShader ? textYes : textNo];
    return {};
}

host::String ResultTreeCallbacks::headerText(int32_t column) const {
    if (listsMissing) {
        for (size_t i = 0; i < std::size(missingHeaderTexts); ++i) {
            if (missingHeaderTexts[i].column == column) return listTexts[textMissingHeaders + int32_t(i)];
        }
        return {};
    }
    if (listsOwners && listPluginType == PluginType::Shader) {
        for (size_t i = 0; i < std::size(ownerHeaderTexts); ++i) {
            if (ownerHeaderTexts[i].column == column) return listTexts[textOwnerHeaders + int32_t(i)];
        }
    }
    for (size_t i = 0; i < std::size(headerTexts); ++i) {
        const HeaderText& header = headerTexts[i];
        if (header.pluginType == listPluginType && header.column == column) return listTexts[textHeaders + int32_t(i)];
    }
    return {};
}
