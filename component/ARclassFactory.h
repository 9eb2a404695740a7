// The A/R component as a loadable library, and what a host sees of it.
//
// The library `libkeltro_ar_component.so` exports four C entry points and nothing else,
// the same four every in-process component of the suite has:
//
//     DllRegisterServer()          records the library in the component manifest
//     DllUnregisterServer()        takes that record out again
//     DllGetClassObject(id, &out)  hands out the class factory of "Keltro_AR.ARclass"
//     DllCanUnloadNow()            true when no ARclass and no screen of it lives
//
// A host reads the manifest (component/Manifest.h) to find the library, opens it, asks it
// for the class factory and creates its `ARclass` through it:
//
//     void* object = nullptr;
//     if (getClassObject(kARclassId, &object) == kComponentOk) {
//         auto* factory = static_cast<ARclassFactory*>(object);
//         host::ARclass* arclass = factory->createInstance(myScreenFactory);
//         ...
//         factory->destroyInstance(arclass);
//         factory->release();
//     }
//
// The screens the instance opens are created inside the component and handed to the
// host's `ScreenFactory` to be shown. component/ComponentLoader.h does all of this for a
// host.
#pragma once

namespace keltro::host {
class ARclass;
class ScreenFactory;
}  // namespace keltro::host

namespace keltro::component {

// The class id of the component's one creatable class.
inline constexpr const char* kARclassId = "Keltro_AR.ARclass";

// Results of the entry points that report one.
inline constexpr int kComponentOk = 0;
inline constexpr int kComponentFailed = 1;
inline constexpr int kClassNotAvailable = 2;

// The names and types of the four entry points.
inline constexpr const char* kRegisterServerSymbol = "DllRegisterServer";
inline constexpr const char* kUnregisterServerSymbol = "DllUnregisterServer";
inline constexpr const char* kGetClassObjectSymbol = "DllGetClassObject";
inline constexpr const char* kCanUnloadNowSymbol = "DllCanUnloadNow";
using RegisterServerFunction = int (*)();
using GetClassObjectFunction = int (*)(const char* classId, void** object);
using CanUnloadNowFunction = bool (*)();

// The class factory of ARclass. A host gives back what DllGetClassObject handed out with
// `release` when it needs the factory no more.
class ARclassFactory {
public:
    // A new ARclass whose screens are shown through `views`, which must outlive it.
    virtual host::ARclass* createInstance(host::ScreenFactory& views) = 0;
    // Ends an instance this factory created.
    virtual void destroyInstance(host::ARclass* instance) = 0;
    virtual void release() = 0;

protected:
    virtual ~ARclassFactory() = default;
};

}  // namespace keltro::component
