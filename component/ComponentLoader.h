// How a host finds, opens and uses the A/R component library.
//
//     LoadedComponent component(kARclassId, "/build/libkeltro_ar_component.so");
//     auto arclass = component.createInstance(myScreenFactory);
//     arclass->showform_ARform_invoice();
//
// The library is the one the component manifest names for the class. When the manifest
// names none, or a file that is no longer there, the fallback library (usually the one
// built or installed beside the host) registers itself first. The instance must end
// before the LoadedComponent does, and every screen it showed must be closed and let go
// by then; the library is closed at the end only when it says it can be unloaded.
#pragma once

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>

#include "component/ARclassFactory.h"

namespace keltro::component {

class ComponentError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Runs the library's DllRegisterServer or DllUnregisterServer; throws ComponentError when
// the library cannot be opened or reports a failure.
void registerComponent(const std::string& library);
void unregisterComponent(const std::string& library);

class LoadedComponent {
public:
    using Instance = std::unique_ptr<host::ARclass, std::function<void(host::ARclass*)>>;

    explicit LoadedComponent(const std::string& classId, const std::string& fallbackLibrary = {});
    ~LoadedComponent();
    LoadedComponent(const LoadedComponent&) = delete;
    LoadedComponent& operator=(const LoadedComponent&) = delete;

    const std::string& libraryPath() const { return m_path; }
    // A new ARclass whose screens `views` shows.
    Instance createInstance(host::ScreenFactory& views);
    // What the library's DllCanUnloadNow says.
    bool canUnloadNow() const;

private:
    struct Library;

    std::string m_path;
    std::unique_ptr<Library> m_library;
    ARclassFactory* m_factory = nullptr;
};

}  // namespace keltro::component
