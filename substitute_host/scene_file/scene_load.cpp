// Reading scene files. The file is read as a stream of JSON events
// (RapidJSON's SAX reader, in its iterative mode): each element is built as
// its record opens, so no document tree of the whole file is built first, and
// neither the reader nor our nesting, which is followed on a stack of our own,
// uses the native stack, so deep hierarchies and layer-shader chains cannot
// exhaust it. The document is built aside and handed to the scene only when
// the whole file is right.
#include <bit>
#include <cctype>
#include <charconv>
#include <cstring>
#include <unordered_map>

#include <rapidjson/error/en.h>
#include <rapidjson/reader.h>

#include "input/input_files.h"
#include "input/printable_text.h"
#include "scene_file/scene_file.h"

namespace substitute {
namespace {

enum class Key : uint8_t {
    Schema,
    Plugins,
    Objects,
    Materials,
    RenderSettings,
    Id,
    Kind,
    Name,
    Type,
    Selected,
    Active,
    Tags,
    Children,
    Channels,
    Shader,
    Reflectance,
    Owner,
    Layers,
    VideoPosts,
    Shaders,
    Count
};
constexpr std::string_view keyNames[] = {"$schema",     "plugins", "objects",  "materials",  "renderSettings",
                                         "id",          "kind",    "name",     "type",       "selected",
                                         "active",      "tags",    "children", "channels",   "shader",
                                         "reflectance", "owner",   "layers",   "videoPosts", "shaders"};
static_assert(std::size(keyNames) == size_t(Key::Count));

constexpr uint32_t bit(Key key) { return uint32_t(1) << uint32_t(key); }

// What a JSON object or array of the file is.
enum class Context : uint8_t {
    Top,
    Plugin,
    Object,
    Tag,
    Material,
    Channels,
    Channel,
    Shader,
    ReflectanceShader,
    Layer,
    RenderSettings,
    VideoPost,
    List
};

uint32_t keysOf(Context context) {
    switch (context) {
        case Context::Top:
            return bit(Key::Schema) | bit(Key::Plugins) | bit(Key::Objects) | bit(Key::Materials) |
                   bit(Key::RenderSettings);
        case Context::Plugin: return bit(Key::Id) | bit(Key::Kind) | bit(Key::Name);
        case Context::Object:
            return bit(Key::Name) | bit(Key::Type) | bit(Key::Selected) | bit(Key::Tags) | bit(Key::Children) |
                   bit(Key::Shaders);
        case Context::Tag:
        case Context::VideoPost: return bit(Key::Name) | bit(Key::Type) | bit(Key::Shaders);
        case Context::Material:
            return bit(Key::Name) | bit(Key::Type) | bit(Key::Selected) | bit(Key::Channels) | bit(Key::Shaders);
        case Context::Channel: return bit(Key::Shader) | bit(Key::Reflectance);
        case Context::Shader: return bit(Key::Name) | bit(Key::Type) | bit(Key::Layers) | bit(Key::Shaders);
        case Context::ReflectanceShader:
            return bit(Key::Name) | bit(Key::Type) | bit(Key::Owner) | bit(Key::Layers) | bit(Key::Shaders);
        case Context::Layer: return bit(Key::Kind) | bit(Key::Shader);
        case Context::RenderSettings: return bit(Key::Name) | bit(Key::Active) | bit(Key::VideoPosts);
        case Context::Channels:  // keyed by channel number
        case Context::List: return 0;
    }
    return 0;
}

// The records a list under key holds.
Context itemsUnder(Key key, Context holder) {
    switch (key) {
        case Key::Plugins: return Context::Plugin;
        case Key::Objects:
        case Key::Children: return Context::Object;
        case Key::Materials: return Context::Material;
        case Key::RenderSettings: return Context::RenderSettings;
        case Key::Tags: return Context::Tag;
        case Key::Reflectance: return Context::ReflectanceShader;
        case Key::Layers: return Context::Layer;
        case Key::VideoPosts: return Context::VideoPost;
        case Key::Shaders: return Context::Shader;
        default: return holder;
    }
}

bool isListKey(Key key) { return itemsUnder(key, Context::List) != Context::List; }

// Two frames a level of a hierarchy: 24 bytes each keep a deep one cheap.
struct Frame {
    Context context;
    Context items = Context::List;   // a list: what it holds
    Key key = Key::Count;            // the key it lies under; Count: an item of a list, or a channel
    Key pending = Key::Count;        // a record: the key whose value comes next
    int32_t channel = -1;            // a channel record: its number
    uint32_t count = 0;              // a list: its items so far (a file of at most 4 GiB has fewer)
    uint32_t seen = 0;               // a record: its keys so far (channels: their numbers)
    HostElement* element = nullptr;  // the record's element; a list's or channel's holder, a layer's shader
};

// A layer record fills the last layer of its shader until it closes.
HostLayer& layerOf(const Frame& record) { return *asShader(*record.element).layers.back(); }
static_assert(sizeof(void*) != 8 || sizeof(Frame) == 24);

struct LoadFailed {};

// Numbers come as their text, so that a value out of range is quoted as written.
constexpr unsigned readerFlags =
    rapidjson::kParseIterativeFlag | rapidjson::kParseValidateEncodingFlag | rapidjson::kParseNumbersAsStringsFlag;

class Loader {
public:
    // The reader stops at the first NUL, but a text cut inside a multi-byte
    // character or an escape makes it look a few bytes further: the text is
    // padded with NULs (within its capacity, when it was read with room).
    Loader(Scene& scene, std::string& text, LoadAs as)
        : scene_(scene), as_(as), document_(std::make_unique<HostDocument>()) {
        const size_t size = text.size();
        text.append(inputPadding, '\0');
        text_ = std::string_view(text.data(), size);
        // JSON text may begin with the UTF-8 byte order mark; places are counted after it.
        if (text_.starts_with(byteOrderMark)) text_.remove_prefix(byteOrderMark.size());
    }

    SceneLoad load() {
        bool parsed = false;
        // JSON has no place for a NUL byte anywhere.
        if (const void* nul = std::memchr(text_.data(), '\0', text_.size())) {
            error_ = "not valid JSON " + placeOf(size_t(static_cast<const char*>(nul) - text_.data())) + ": a NUL byte";
            scene_.discardDocument(std::move(document_));
            return {nullptr, error_};
        }
        try {
            rapidjson::Reader reader;
            rapidjson::StringStream input(text_.data());
            Events events{*this};
            const rapidjson::ParseResult result = reader.Parse<readerFlags>(input, events);
            if (result.Code() == rapidjson::kParseErrorNumberTooBig) {
                error_ = overflowText();
            } else if (result.IsError()) {
                std::string reason = rapidjson::GetParseError_En(result.Code());
                // In the form of our other reasons: "invalid value", without the full stop.
                if (!reason.empty() && reason.back() == '.') reason.pop_back();
                if (!reason.empty()) reason[0] = char(std::tolower(static_cast<unsigned char>(reason[0])));
                // The place of the byte where reading stopped, its column counted from 1.
                error_ = "not valid JSON " + placeOf(result.Offset() + 1) + ": " + reason;
            } else {
                resolveOwners();
                parsed = true;
            }
        } catch (const LoadFailed&) {
            parsed = false;
        }
        if (!parsed) {
            scene_.discardDocument(std::move(document_));
            return {nullptr, error_};
        }
        if (as_ == LoadAs::Hidden) {
            document_->filePlugins = std::move(plugins_);
            return {scene_.adoptHiddenDocument(std::move(document_)), ""};
        }
        if (as_ == LoadAs::Start) scene_.setPlugins(plugins_);
        HostDocument* document = scene_.adoptDocument(std::move(document_));
        scene_.setActiveDocument(document);
        return {document, ""};
    }

    // ---- Events -------------------------------------------------------------
    bool null() { return scalar("null"); }
    bool boolean(bool value) {
        if (!expecting(Key::Selected) && !expecting(Key::Active)) return scalar("a boolean");
        Frame& record = frames_.back();
        if (record.context == Context::RenderSettings) {
            asRenderSettings(*record.element).active = value;
        } else {
            record.element->selected = value;
        }
        return true;
    }
    bool number(const char* text, size_t length) {
        const std::string_view number(text, length);
        int64_t value = 0;
        const auto [end, error] = std::from_chars(text, text + length, value);
        if (error == std::errc() && end == text + length) return integer(value, number);
        // Any other number fits a double: the reader refuses one too large for it (overflowText).
        return integer(INT64_MAX, number);
    }
    bool string(const char* text, size_t length) {
        const std::string_view value = checkedString(text, length, true);
        if (expecting(Key::Name)) {
            Frame& record = frames_.back();
            if (record.context == Context::Plugin) {
                plugins_.back().name = value;
            } else {
                record.element->name = value;
            }
            return true;
        }
        if (expecting(Key::Schema)) {
            document_->schema = value;
            return true;
        }
        if (expecting(Key::Owner)) {
            owners_.push_back({frames_.back().element, std::string(value), pathText(true)});
            return true;
        }
        return scalar("a string");
    }

    bool startObject() {
        if (frames_.empty()) return push({.context = Context::Top});
        Frame& parent = frames_.back();
        if (parent.context == Context::List) return push(openItem(parent));
        if (parent.context == Context::Channels) return push(openChannel(parent));
        if (parent.pending == Key::Channels) {
            return push({.context = Context::Channels, .key = Key::Channels, .element = parent.element});
        }
        if (parent.pending == Key::Shader) return push(openShader(parent));
        return wrongValue("an object");
    }
    bool key(const char* text, size_t length) {
        const std::string_view key = checkedString(text, length, false);
        Frame& record = frames_.back();
        if (record.context == Context::Channels) return channelKey(record, key);
        Key found = Key::Count;
        for (uint32_t allowed = keysOf(record.context); allowed != 0 && found == Key::Count; allowed &= allowed - 1) {
            const auto k = size_t(std::countr_zero(allowed));
            if (key == keyNames[k]) found = Key(k);
        }
        if (found == Key::Count) fail(pathText(false) + ": unknown key \"" + excerpt(key) + "\"");
        record.pending = found;
        if (record.seen & bit(found)) fail(pathText(true) + ": duplicate key");
        record.seen |= bit(found);
        if (found == Key::Reflectance && record.channel != HOST_CHANNEL_REFLECTANCE) {
            fail(pathText(true) + ": only channel 3 has reflectance layers");
        }
        return true;
    }
    bool endObject() {
        closeRecord();
        frames_.pop_back();
        return true;
    }
    bool startArray() {
        if (frames_.empty()) fail("top level: expected an object, found an array");
        Frame& parent = frames_.back();
        if (parent.context == Context::List) return wrongValue("an array");
        if (!isListKey(parent.pending)) return wrongValue("an array");
        return push({.context = Context::List,
                     .items = itemsUnder(parent.pending, parent.context),
                     .key = parent.pending,
                     .element = parent.element});
    }
    bool endArray() {
        frames_.pop_back();
        return true;
    }

private:
    // RapidJSON's handler: its events, under the names the reader calls.
    struct Events {
        Loader& loader;
        bool Null() { return loader.null(); }
        bool Bool(bool value) { return loader.boolean(value); }
        // Numbers come as their text only (readerFlags); these complete the handler.
        bool Int(int) { return true; }
        bool Uint(unsigned) { return true; }
        bool Int64(int64_t) { return true; }
        bool Uint64(uint64_t) { return true; }
        bool Double(double) { return true; }
        bool RawNumber(const char* text, rapidjson::SizeType length, bool) { return loader.number(text, length); }
        bool String(const char* text, rapidjson::SizeType length, bool) { return loader.string(text, length); }
        bool StartObject() { return loader.startObject(); }
        bool Key(const char* text, rapidjson::SizeType length, bool) { return loader.key(text, length); }
        bool EndObject(rapidjson::SizeType) { return loader.endObject(); }
        bool StartArray() { return loader.startArray(); }
        bool EndArray(rapidjson::SizeType) { return loader.endArray(); }
    };

    // The reader turns escapes into UTF-8, and one escape it lets through
    // gives none: a low surrogate (\\uDC00 to \\uDFFF) without a high one
    // before it comes out as the bytes ED B0..BF.
    std::string_view checkedString(const char* text, size_t length, bool value) {
        const std::string_view checked(text, length);
        for (size_t at = checked.find('\xED'); at != std::string_view::npos; at = checked.find('\xED', at + 1)) {
            if (at + 1 < length && static_cast<unsigned char>(checked[at + 1]) >= 0xA0) {
                fail((value ? pathText(true) : pathText(false)) +
                     ": a low surrogate escape without a high surrogate before it");
            }
        }
        return checked;
    }

    struct PendingOwner {
        HostElement* shader;
        std::string name;
        std::string path;
    };

    [[noreturn]] void fail(std::string message) {
        error_ = std::move(message);
        throw LoadFailed{};
    }

    bool push(Frame frame) {
        frames_.push_back(frame);
        return true;
    }

    bool expecting(Key key) const { return !frames_.empty() && frames_.back().pending == key; }

    // The path of the innermost record or list, with its pending key when
    // withKey: "materials[0].channels[\"3\"].reflectance[1].owner".
    std::string pathText(bool withKey) const {
        if (frames_.empty()) return "top level";  // a string that is the whole file
        std::string text;
        for (size_t i = 1; i < frames_.size(); ++i) {
            const Frame& frame = frames_[i];
            if (frame.context == Context::Channel) {
                text.append("[\"").append(std::to_string(frame.channel)).append("\"]");
            } else if (frame.key == Key::Count) {
                text.append("[").append(std::to_string(frames_[i - 1].count - 1)).append("]");
            } else {
                appendField(text, frame.key);
            }
        }
        const Frame& last = frames_.back();
        if (withKey && last.context != Context::List && last.pending != Key::Count) appendField(text, last.pending);
        return text.empty() ? "top level" : text;
    }

    static void appendField(std::string& path, Key key) {
        if (!path.empty()) path += '.';
        path += keyNames[size_t(key)];
    }

    std::string placeOf(size_t position) const {
        const size_t end = std::min(position, text_.size());
        size_t line = 1, lineStart = 0;
        for (size_t i = 0; i < end; ++i) {
            if (text_[i] == '\n') {
                line++;
                lineStart = i + 1;
            }
        }
        return "at line " + std::to_string(line) + ", column " + std::to_string(end - lineStart);
    }

    static const char* expectation(Key key, Context context) {
        switch (key) {
            case Key::Id:
            case Key::Kind:
            case Key::Type: return "a 32-bit integer";
            case Key::Schema:
            case Key::Name: return "a string";
            case Key::Selected:
            case Key::Active: return "true or false";
            case Key::Owner: return "a material name or null";
            case Key::Channels: return "an object";
            case Key::Shader: return context == Context::Layer ? "an object or null" : "an object";
            default: return "an array";
        }
    }

    // A value of the wrong kind where the innermost frame expects one.
    bool wrongValue(const std::string& found) {
        const Frame& frame = frames_.back();
        if (frame.context == Context::Channels) {
            fail(pathText(false) + pendingChannel_ + ": expected an object, found " + found);
        }
        if (frame.context == Context::List) {
            frames_.back().count++;  // the path names the item
            frames_.push_back({.context = Context::List});
            fail(pathText(false) + ": expected an object, found " + found);
        }
        fail(pathText(true) + ": expected " + expectation(frame.pending, frame.context) + ", found " + found);
    }

    bool scalar(const std::string& found) {
        if (frames_.empty()) fail("top level: expected an object, found " + found);
        const Frame& frame = frames_.back();
        if (frame.pending == Key::Shader && frame.context == Context::Layer && found == "null") return true;
        if (frame.pending == Key::Owner && found == "null") {
            asShader(*frame.element).ownerId = noOwner;
            return true;
        }
        return wrongValue(found);
    }

    bool integer(int64_t value, std::string_view text) {
        const bool wanted = expecting(Key::Id) || expecting(Key::Kind) || expecting(Key::Type);
        if (!wanted) return scalar("a number");
        if (value < INT32_MIN || value > INT32_MAX) {
            fail(pathText(true) + ": expected a 32-bit integer, found " + excerpt(text));
        }
        Frame& record = frames_.back();
        const auto number = int32_t(value);
        if (record.context == Context::Plugin) {
            (record.pending == Key::Id ? plugins_.back().id : plugins_.back().kind) = number;
        } else if (record.context == Context::Layer) {
            layerOf(record).kind = number;
        } else {
            record.element->type = number;
        }
        return true;
    }

    // A number too large for a double, wherever it lies.
    std::string overflowText() const {
        return (frames_.empty() ? "top level" : pathText(frames_.back().context != Context::List)) +
               ": number overflow";
    }

    // ---- Records ----------------------------------------------------------------
    Frame openItem(Frame& list) {
        list.count++;
        Frame item{.context = list.items};
        HostDocument& document = *document_;
        switch (list.items) {
            case Context::Plugin: plugins_.push_back({0, 0, ""}); break;
            case Context::Object: item.element = scene_.addObject(document, list.element, "", 0); break;
            case Context::Tag: item.element = scene_.addTag(*list.element, "", 0); break;
            case Context::Material: item.element = scene_.addMaterial(document, "", 0); break;
            case Context::ReflectanceShader: item.element = scene_.addReflectanceShader(*list.element, "", 0); break;
            // A shader its holder owns, or one below a shader that no layer links to.
            case Context::Shader: item.element = scene_.addShader(*list.element, "", 0); break;
            case Context::Layer:
                scene_.addLayer(*list.element, 0);
                item.element = list.element;
                break;
            case Context::RenderSettings: item.element = scene_.addRenderSettings(document, "", false); break;
            case Context::VideoPost: item.element = scene_.addVideoPost(*list.element, "", 0); break;
            default: break;
        }
        return item;
    }

    bool channelKey(Frame& channels, std::string_view key) {
        int32_t number = -1;
        auto [end, error] = std::from_chars(key.data(), key.data() + key.size(), number);
        const bool canonical = error == std::errc() && end == key.data() + key.size() && std::to_string(number) == key;
        pendingChannel_ = "[\"" + excerpt(key) + "\"]";
        if (!canonical || number < 0 || number >= HOST_MATERIAL_CHANNEL_COUNT) {
            fail(pathText(false) + pendingChannel_ + ": a channel is named by its number, 0 to 14");
        }
        if (channels.seen & (uint32_t(1) << number)) fail(pathText(false) + pendingChannel_ + ": duplicate key");
        channels.seen |= uint32_t(1) << number;
        channels.channel = number;  // until the channel's record opens
        return true;
    }

    Frame openChannel(Frame& channels) {
        const int32_t number = channels.channel;
        channels.channel = -1;
        scene_.addChannel(*channels.element, number);
        Frame channel{.context = Context::Channel};
        channel.channel = number;
        channel.element = channels.element;
        return channel;
    }

    Frame openShader(Frame& holder) {
        Frame shader{.context = Context::Shader, .key = Key::Shader};
        if (holder.context == Context::Channel) {
            shader.element = scene_.setChannelShader(*holder.element, holder.channel, "", 0);
        } else {
            // The input a shader layer links to.
            shader.element = scene_.createElement(ElementKind::Shader, "", 0);
            append(asShader(*holder.element).inputs, shader.element);
            layerOf(holder).link = shader.element->id;
        }
        return shader;
    }

    void require(const Frame& record, Key key) {
        if (!(record.seen & bit(key))) {
            fail(pathText(false) + ": missing \"" + std::string(keyNames[size_t(key)]) + "\"");
        }
    }

    void closeRecord() {
        Frame& record = frames_.back();
        record.pending = Key::Count;
        switch (record.context) {
            case Context::Plugin:
                require(record, Key::Id);
                require(record, Key::Kind);
                break;
            case Context::Object:
            case Context::Tag:
            case Context::Material:
            case Context::VideoPost: require(record, Key::Type); break;
            case Context::Shader:
            case Context::ReflectanceShader:
                require(record, Key::Type);
                if (!asShader(*record.element).layers.empty() && record.element->type != HOST_LAYER_SHADER_TYPE) {
                    record.pending = Key::Layers;
                    fail(pathText(true) + ": only a layer shader (type 1011123) has layers");
                }
                break;
            case Context::Layer: closeLayer(record); break;
            case Context::RenderSettings:
                if (asRenderSettings(*record.element).active) {
                    record.pending = Key::Active;
                    if (anyActive_) fail(pathText(true) + ": more than one active render settings");
                    anyActive_ = true;
                    scene_.setActiveRenderSettings(*record.element);
                }
                break;
            default: break;
        }
    }

    void closeLayer(Frame& record) {
        require(record, Key::Kind);
        const bool linksShader = record.seen & bit(Key::Shader);
        if (layerOf(record).kind == HOST_LAYER_KIND_SHADER) {
            require(record, Key::Shader);
        } else if (linksShader) {
            record.pending = Key::Shader;
            fail(pathText(true) + ": only a shader layer (kind 2) links a shader");
        }
    }

    // Owners may name materials further down the file, so they are resolved
    // once every material is there. The holding material wins a tie of names,
    // then the first material of that name.
    void resolveOwners() {
        if (owners_.empty()) return;
        std::unordered_map<std::string_view, HostElement*> firstNamed;
        for (HostElement* m = document_->materials.first; m; m = m->next) firstNamed.emplace(m->name, m);
        for (const PendingOwner& owner : owners_) {
            HostElement* holder = owner.shader->list->holder;
            const HostElement* named = holder->name == owner.name ? holder : nullptr;
            if (named == nullptr) {
                auto found = firstNamed.find(owner.name);
                if (found == firstNamed.end()) {
                    fail(owner.path + ": no material named \"" + excerpt(owner.name) + "\"");
                }
                named = found->second;
            }
            asShader(*owner.shader).ownerId = named == holder ? holderIsOwner : named->id;
        }
    }

    Scene& scene_;
    LoadAs as_;
    std::string_view text_;
    std::unique_ptr<HostDocument> document_;
    std::vector<PluginInfo> plugins_;
    std::vector<Frame> frames_;
    std::vector<PendingOwner> owners_;
    std::string pendingChannel_;
    bool anyActive_ = false;
    std::string error_;
};

}  // namespace

SceneLoad loadScene(Scene& scene, std::string_view json, LoadAs as) {
    std::string text;
    text.reserve(json.size() + inputPadding);
    text.assign(json);
    return Loader(scene, text, as).load();
}

SceneLoad loadSceneFile(Scene& scene, const std::filesystem::path& file, uint64_t limit, LoadAs as) {
    std::string text, error;
    if (!readInputFile(file, limit, text, error, InputStart::JsonObject)) return {nullptr, error};
    SceneLoad result = Loader(scene, text, as).load();
    if (!result.document) result.error = file.string() + ": " + result.error;
    return result;
}

}  // namespace substitute
