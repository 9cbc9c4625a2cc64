#include "document.h"

#include <cctype>

namespace plenix {

std::string fileNameFromPath(std::string_view path)
{
    const std::size_t slash = path.rfind('/');
    std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    constexpr std::string_view routeExtension = ".txt";
    if (name.size() > routeExtension.size()) {
        const std::string_view ending = name.substr(name.size() - routeExtension.size());
        bool isRouteExtension = true;
        for (std::size_t i = 0; i < ending.size(); ++i) {
            const auto c = static_cast<unsigned char>(ending[i]);
            if (std::tolower(c) != routeExtension[i])
                isRouteExtension = false;
        }
        if (isRouteExtension)
            name.remove_suffix(routeExtension.size());
    }
    return std::string(name);
}

std::string DocumentState::caption() const
{
    return captionPrefix + (isUntitled() ? std::string(UntitledName) : name);
}

void DocumentState::makeUntitled()
{
    path.clear();
    name.clear();
}

void DocumentState::setPath(std::string_view newPath)
{
    path = newPath;
    name = fileNameFromPath(newPath);
}

} // namespace plenix
