#include "component/ClassFactory.h"

#include <algorithm>

#include "component/ComponentScreenFactory.h"
#include "host/ARclass.h"
#include "print/ReportPdf.h"

namespace keltro::component {

struct ClassFactory::Instance {
    explicit Instance(host::ScreenFactory& views) : screens(views), arclass(screens) {}

    ComponentScreenFactory screens;
    host::ARclass arclass;
};

LiveObjects& liveObjects() {
    static LiveObjects objects;
    return objects;
}

// The report screens of the component print through the component's own copy of the
// printing library (the host's copy, if it has one, is not the one they see); the host's
// QGuiApplication paints the files.
ClassFactory::ClassFactory() { print::InstallReportPdfOutput(); }

ClassFactory& ClassFactory::instance() {
    static ClassFactory factory;
    return factory;
}

ClassFactory::~ClassFactory() = default;

void ClassFactory::release() {}

host::ARclass* ClassFactory::createInstance(host::ScreenFactory& views) {
    std::lock_guard lock(m_mutex);
    m_instances.push_back(std::make_unique<Instance>(views));
    ++liveObjects().instances;
    return &m_instances.back()->arclass;
}

void ClassFactory::destroyInstance(host::ARclass* instance) {
    std::unique_ptr<Instance> ending;
    {
        std::lock_guard lock(m_mutex);
        auto it = std::find_if(m_instances.begin(), m_instances.end(),
                               [&](const auto& i) { return &i->arclass == instance; });
        if (it == m_instances.end()) return;
        ending = std::move(*it);
        m_instances.erase(it);
    }
    ending.reset();
    --liveObjects().instances;
}

}  // namespace keltro::component
