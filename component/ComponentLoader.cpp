#include "component/ComponentLoader.h"

#include <dlfcn.h>

#include <cstring>
#include <filesystem>

#include "component/Manifest.h"

namespace keltro::component {

struct LoadedComponent::Library {
    explicit Library(const std::string& path) : handle(dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL)) {
        if (!handle) {
            const char* why = dlerror();
            throw ComponentError("Cannot open the component library " + path + ": " +
                                 (why ? why : "unknown error"));
        }
    }
    ~Library() {
        if (handle) dlclose(handle);
    }
    Library(const Library&) = delete;
    Library& operator=(const Library&) = delete;

    // The entry point of that name; throws when the library has none.
    template <class Function>
    Function entryPoint(const char* name) const {
        void* address = dlsym(handle, name);
        if (!address) throw ComponentError(std::string("The component library has no ") + name);
        Function function = nullptr;
        static_assert(sizeof function == sizeof address);
        std::memcpy(&function, &address, sizeof function);
        return function;
    }

    void* handle;
};

namespace {

void runRegistration(const std::string& library, const char* entryPoint) {
    struct Closer {
        void operator()(void* handle) const { dlclose(handle); }
    };
    std::unique_ptr<void, Closer> handle(dlopen(library.c_str(), RTLD_NOW | RTLD_LOCAL));
    if (!handle) {
        const char* why = dlerror();
        throw ComponentError("Cannot open the component library " + library + ": " +
                             (why ? why : "unknown error"));
    }
    void* address = dlsym(handle.get(), entryPoint);
    if (!address) throw ComponentError(library + " has no " + entryPoint);
    RegisterServerFunction function = nullptr;
    std::memcpy(&function, &address, sizeof function);
    if (function() != kComponentOk)
        throw ComponentError(std::string(entryPoint) + " of " + library + " failed");
}

bool isFile(const std::string& path) {
    std::error_code ec;
    return std::filesystem::is_regular_file(path, ec);
}

}  // namespace

void registerComponent(const std::string& library) { runRegistration(library, kRegisterServerSymbol); }

void unregisterComponent(const std::string& library) { runRegistration(library, kUnregisterServerSymbol); }

LoadedComponent::LoadedComponent(const std::string& classId, const std::string& fallbackLibrary) {
    auto registered = Manifest::read(Manifest::defaultPath()).library(classId);
    if ((!registered || !isFile(*registered)) && !fallbackLibrary.empty()) {
        registerComponent(fallbackLibrary);
        registered = Manifest::read(Manifest::defaultPath()).library(classId);
    }
    if (!registered)
        throw ComponentError("No library is registered for " + classId + " in " + Manifest::defaultPath());
    m_path = *registered;
    m_library = std::make_unique<Library>(m_path);

    void* object = nullptr;
    const int status =
        m_library->entryPoint<GetClassObjectFunction>(kGetClassObjectSymbol)(classId.c_str(), &object);
    if (status != kComponentOk || !object)
        throw ComponentError(m_path + " does not serve the class " + classId);
    m_factory = static_cast<ARclassFactory*>(object);
}

LoadedComponent::~LoadedComponent() {
    if (m_factory) m_factory->release();
    // A library that still has objects alive stays loaded: closing it would pull their
    // code away from under them.
    if (m_library && !canUnloadNow()) m_library->handle = nullptr;
}

LoadedComponent::Instance LoadedComponent::createInstance(host::ScreenFactory& views) {
    ARclassFactory* factory = m_factory;
    return Instance(factory->createInstance(views),
                    [factory](host::ARclass* instance) { factory->destroyInstance(instance); });
}

bool LoadedComponent::canUnloadNow() const {
    return m_library->entryPoint<CanUnloadNowFunction>(kCanUnloadNowSymbol)();
}

}  // namespace keltro::component
