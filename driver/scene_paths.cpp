#include "scene_paths.h"

#include <charconv>
#include <string_view>

#include "input/printable_text.h"

#include "scene/undo.h"

namespace driver {
namespace {
constexpr std::string_view materialPrefix = "mat:";

// One piece of a path: a name and which of the siblings of that name.
struct Piece {
    std::string name;
    size_t ordinal = 1;
};

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Reads one piece from text at i, up to the end or, in an object's path
// (slashEnds), an unescaped '/'; false when its escapes or its index cannot
// be read.
bool readPiece(std::string_view text, size_t& i, Piece& piece, bool slashEnds) {
    const auto ends = [&](size_t at) { return at == text.size() || (slashEnds && text[at] == '/'); };
    for (; !ends(i) && text[i] != '['; ++i) {
        if (text[i] != '\\') {
            piece.name += text[i];
            continue;
        }
        if (++i == text.size()) return false;
        switch (text[i]) {
            case '\\':
            case '/':
            case '[': piece.name += text[i]; break;
            case 't': piece.name += '\t'; break;
            case 'n': piece.name += '\n'; break;
            case 'r': piece.name += '\r'; break;
            case 'x': {
                if (i + 2 >= text.size() || hexValue(text[i + 1]) < 0 || hexValue(text[i + 2]) < 0) return false;
                piece.name += char(hexValue(text[i + 1]) * 16 + hexValue(text[i + 2]));
                i += 2;
                break;
            }
            default: return false;
        }
    }
    if (ends(i)) return true;
    const size_t close = text.find(']', i);
    if (close == std::string_view::npos || close == i + 1) return false;
    std::string_view digits = text.substr(i + 1, close - i - 1);
    auto [end, problem] = std::from_chars(digits.data(), digits.data() + digits.size(), piece.ordinal);
    i = close + 1;
    return problem == std::errc() && end == digits.data() + digits.size() && piece.ordinal >= 1 && ends(i);
}

HostElement* nthNamed(const substitute::ElementList& list, const Piece& piece) {
    size_t seen = 0;
    for (HostElement* element = list.first; element; element = element->next) {
        if (element->name == piece.name && ++seen == piece.ordinal) return element;
    }
    return nullptr;
}

std::string badPath(const std::string& path) {
    std::string error = "\"";
    error.append(substitute::excerpt(path)).append("\" names no object (/Group/Cube) or material (mat:Name)");
    return error;
}

HostElement* findObject(const HostDocument& document, const std::string& path, std::string& error) {
    const substitute::ElementList* list = &document.objects;
    HostElement* object = nullptr;
    size_t i = 0;
    while (i < path.size()) {
        ++i;  // the '/' before the piece
        Piece piece;
        if (!readPiece(path, i, piece, true)) {
            error = badPath(path);
            return nullptr;
        }
        object = nthNamed(*list, piece);
        if (object == nullptr) {
            error = "no object \"" + substitute::excerpt(path.substr(0, i)) + "\" in the scene";
            return nullptr;
        }
        list = &substitute::asObject(*object).children;
    }
    return object;
}

void clearSelection(HostDocument& document, substitute::ElementKind kind) {
    if (kind == substitute::ElementKind::Object) {
        for (HostElement* o = document.objects.first; o; o = substitute::nextInPreOrder(o)) o->selected = false;
    } else {
        for (HostElement* m = document.materials.first; m; m = m->next) m->selected = false;
    }
}

// The piece that names element among its siblings; '/' is escaped in an
// object's path only.
void appendPiece(std::string& path, const HostElement& element, bool escapeSlash) {
    for (size_t i = 0; i < element.name.size();) {
        const char c = element.name[i];
        const size_t length = substitute::utf8SequenceLength(std::string_view(element.name).substr(i));
        if (c == '\\' || (c == '/' && escapeSlash) || c == '[') {
            path += '\\';
            path += c;
        } else if (length == 0 || static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
            path += substitute::printable(std::string_view(&element.name[i], 1));
        } else {
            path.append(element.name, i, length);
            i += length;
            continue;
        }
        ++i;
    }
    size_t ordinal = 1;
    for (const HostElement* e = element.list ? element.list->first : nullptr; e && e != &element; e = e->next) {
        ordinal += e->name == element.name;
    }
    if (ordinal > 1) path.append("[").append(std::to_string(ordinal)).append("]");
}
}  // namespace

HostElement* findByPath(const HostDocument& document, const std::string& path, std::string& error) {
    if (path.rfind(materialPrefix, 0) == 0) {
        std::string_view rest = std::string_view(path).substr(materialPrefix.size());
        Piece piece;
        size_t i = 0;
        // A material's name is the one piece: '/' needs no escape there.
        if (!readPiece(rest, i, piece, false)) {
            error = badPath(path);
            return nullptr;
        }
        HostElement* material = nthNamed(document.materials, piece);
        if (material == nullptr) error = "no material \"" + substitute::excerpt(rest) + "\" in the scene";
        return material;
    }
    if (!path.empty() && path[0] == '/') return findObject(document, path, error);
    error = badPath(path);
    return nullptr;
}

std::string pathOf(const HostElement& element) {
    std::string path;
    if (element.kind == substitute::ElementKind::Material) {
        path = materialPrefix;
        appendPiece(path, element, false);
        return path;
    }
    // Built from the top down, so a deep path costs its length, not its square.
    std::vector<const HostElement*> line;
    for (const HostElement* o = &element; o; o = substitute::parentObject(*o)) line.push_back(o);
    for (auto o = line.rbegin(); o != line.rend(); ++o) {
        path += '/';
        appendPiece(path, **o, true);
    }
    return path;
}

std::string kindWord(const HostElement& element) {
    return element.kind == substitute::ElementKind::Material ? "material" : "object";
}

std::string selectElements(HostDocument& document, const std::vector<std::string>& paths) {
    std::vector<HostElement*> elements;
    for (const std::string& path : paths) {
        std::string error;
        HostElement* element = findByPath(document, path, error);
        if (element == nullptr) return error;
        elements.push_back(element);
    }
    for (const HostElement* element : elements) clearSelection(document, element->kind);
    for (HostElement* element : elements) element->selected = true;
    return {};
}

void deselectAll(HostDocument& document) {
    clearSelection(document, substitute::ElementKind::Object);
    clearSelection(document, substitute::ElementKind::Material);
}

std::string deleteElement(substitute::Scene& scene, HostDocument& document, const std::string& path) {
    std::string error;
    HostElement* element = findByPath(document, path, error);
    if (element == nullptr) return error;
    substitute::startUndoGroup(document);
    substitute::recordDeletion(document, *element);
    scene.freeElement(element);
    substitute::endUndoGroup(document);
    return {};
}

}  // namespace driver
