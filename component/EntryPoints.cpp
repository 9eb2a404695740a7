// The four entry points of libkeltro_ar_component.so, the only symbols it exports (the
// rest is hidden by -fvisibility=hidden and component/exports.map).
#include <dlfcn.h>

#include <filesystem>
#include <string>

#include "component/ARclassFactory.h"
#include "component/ClassFactory.h"
#include "component/Manifest.h"

namespace {

using namespace keltro::component;

// Any object of the library tells where the library file is.
const char kLibraryAnchor = 0;

std::string ownLibraryPath() {
    Dl_info info{};
    if (!dladdr(&kLibraryAnchor, &info) || !info.dli_fname) return {};
    std::error_code ec;
    auto path = std::filesystem::canonical(info.dli_fname, ec);
    return ec ? std::filesystem::absolute(info.dli_fname).string() : path.string();
}

bool sameFile(const std::string& a, const std::string& b) {
    std::error_code ec;
    return a == b || std::filesystem::equivalent(a, b, ec);
}

}  // namespace

extern "C" {

[[gnu::visibility("default")]] int DllRegisterServer() {
    try {
        const std::string library = ownLibraryPath();
        if (library.empty()) return kComponentFailed;
        const std::string path = Manifest::defaultPath();
        Manifest manifest = Manifest::read(path);
        manifest.setLibrary(kARclassId, library);
        manifest.write(path);
        return kComponentOk;
    } catch (...) {
        return kComponentFailed;
    }
}

// Takes the class out of the manifest when it is registered to this library; a class
// registered to another installation stays as it is.
[[gnu::visibility("default")]] int DllUnregisterServer() {
    try {
        const std::string path = Manifest::defaultPath();
        Manifest manifest = Manifest::read(path);
        const auto registered = manifest.library(kARclassId);
        if (!registered || !sameFile(*registered, ownLibraryPath())) return kComponentOk;
        manifest.remove(kARclassId);
        manifest.write(path);
        return kComponentOk;
    } catch (...) {
        return kComponentFailed;
    }
}

[[gnu::visibility("default")]] int DllGetClassObject(const char* classId, void** object) {
    if (!object) return kComponentFailed;
    *object = nullptr;
    if (!classId || std::string(classId) != kARclassId) return kClassNotAvailable;
    *object = static_cast<ARclassFactory*>(&ClassFactory::instance());
    return kComponentOk;
}

[[gnu::visibility("default")]] bool DllCanUnloadNow() { return liveObjects().none(); }

}  // extern "C"
