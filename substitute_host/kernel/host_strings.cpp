#include "kernel/host_strings.h"

#include "core/fault.h"
#include "core/substitute_host.h"

namespace substitute {
namespace {
HandleRegistry& handles() { return SubstituteHost::current().handles; }
int64_t live = 0;
}  // namespace

std::string_view text(const HostString* string, const char* operation) {
    handles().check(operation, string, HandleKind::String, true);
    return string ? std::string_view(string->text) : std::string_view();
}

HostString* makeString(std::string_view value) {
    auto* string = new HostString;
    string->text.assign(value);
    handles().add(string, HandleKind::String);
    ++live;
    return string;
}

HostString* newModuleString(std::string_view value) {
    if (!SubstituteHost::current().services.stringCreationAllowed()) return nullptr;
    return makeString(value);
}

void releaseString(HostString* string) {
    if (string == nullptr) return;
    if (string->references.fetch_sub(1) == 1) {
        handles().remove(string);
        --live;
        delete string;
    }
}

int64_t liveStrings() { return live; }

void fillStringServices(HostKernel& kernel) {
    kernel.stringFromUtf8 = [](const char* utf8, int64_t length) -> HostString* {
        if (length < 0 || (utf8 == nullptr && length > 0)) fault("stringFromUtf8", "bad text or length");
        return newModuleString(std::string_view(utf8, size_t(length)));
    };
    kernel.stringFromInt = [](int64_t value) { return newModuleString(std::to_string(value)); };
    kernel.stringConcat = [](const HostString* a, const HostString* b) {
        std::string joined(text(a, "stringConcat"));
        joined += text(b, "stringConcat");
        return newModuleString(joined);
    };
    kernel.stringRetain = [](HostString* string) {
        handles().check("stringRetain", string, HandleKind::String, true);
        if (string) string->references.fetch_add(1);
        return string;
    };
    kernel.stringRelease = [](HostString* string) {
        handles().check("stringRelease", string, HandleKind::String, true);
        releaseString(string);
    };
    kernel.stringUtf8 = [](const HostString* string, int64_t* length) -> const char* {
        std::string_view view = text(string, "stringUtf8");
        if (length) *length = int64_t(view.size());
        return view.data() ? view.data() : "";
    };
}

}  // namespace substitute
