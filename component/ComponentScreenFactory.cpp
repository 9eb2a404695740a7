#include "component/ComponentScreenFactory.h"

#include "component/ClassFactory.h"

namespace keltro::component {

std::shared_ptr<framework::Screen> ComponentScreenFactory::create(const std::string& className) {
    std::shared_ptr<framework::Screen> screen = ScreenFactory::create(className);
    ++liveObjects().screens;
    // The pointer handed out keeps the screen and counts it down when the last owner lets go.
    return std::shared_ptr<framework::Screen>(screen.get(), [keep = screen](framework::Screen*) mutable {
        keep.reset();
        --liveObjects().screens;
    });
}

}  // namespace keltro::component
