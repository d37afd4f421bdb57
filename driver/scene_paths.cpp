#include "scene_paths.h"

#include <string_view>

#include "undo.h"

namespace driver {
namespace {
constexpr std::string_view materialPrefix = "mat:";

HostElement* firstNamed(const substitute::ElementList& list, std::string_view name) {
    for (HostElement* element = list.first; element; element = element->next) {
        if (element->name == name) return element;
    }
    return nullptr;
}

HostElement* findObject(const HostDocument& document, const std::string& path, std::string& error) {
    const substitute::ElementList* list = &document.objects;
    HostElement* object = nullptr;
    size_t start = 1;
    while (start <= path.size()) {
        size_t end = path.find('/', start);
        if (end == std::string::npos) end = path.size();
        object = firstNamed(*list, std::string_view(path).substr(start, end - start));
        if (object == nullptr) {
            error = "no object \"" + path.substr(0, end) + "\" in the scene";
            return nullptr;
        }
        list = &substitute::asObject(*object).children;
        start = end + 1;
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
}  // namespace

HostElement* findByPath(const HostDocument& document, const std::string& path, std::string& error) {
    if (path.rfind(materialPrefix, 0) == 0) {
        std::string name = path.substr(materialPrefix.size());
        HostElement* material = firstNamed(document.materials, name);
        if (material == nullptr) error = "no material \"" + name + "\" in the scene";
        return material;
    }
    if (path.size() > 1 && path[0] == '/') return findObject(document, path, error);
    error = "\"" + path + "\" names no object (/Group/Cube) or material (mat:Name)";
    return nullptr;
}

std::string pathOf(const HostElement& element) {
    if (element.kind == substitute::ElementKind::Material) return std::string(materialPrefix) + element.name;
    std::string path;
    for (const HostElement* o = &element; o; o = substitute::parentObject(*o)) path = "/" + o->name + path;
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
