// The class factory of ARclass inside the component, and the count of what it has made.
//
// There is one factory object per loaded library, which DllGetClassObject hands out; it is
// the library's own, so `release` has nothing to free. Each instance it creates is an
// ARclass together with the screen factory that makes that ARclass's screens inside the
// component. The library may be unloaded when no instance and no screen is left. Making
// the factory installs the component's PDF writer for the report screens' "&Preview".
#pragma once

#include <atomic>
#include <memory>
#include <mutex>
#include <vector>

#include "component/ARclassFactory.h"

namespace keltro::component {

// What keeps the component's library in use.
struct LiveObjects {
    std::atomic<int> instances{0};
    std::atomic<int> screens{0};

    bool none() const { return instances == 0 && screens == 0; }
};

LiveObjects& liveObjects();

class ClassFactory final : public ARclassFactory {
public:
    // The component's one factory object.
    static ClassFactory& instance();

    host::ARclass* createInstance(host::ScreenFactory& views) override;
    void destroyInstance(host::ARclass* instance) override;
    void release() override;

private:
    struct Instance;

    ClassFactory();
    ~ClassFactory() override;

    std::mutex m_mutex;
    std::vector<std::unique_ptr<Instance>> m_instances;
};

}  // namespace keltro::component
