#include "document.h"

#include <cctype>

namespace plenix {

std::string fnFileNameFromPath(std::string_view path)
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
    return CaptionPrefix + (isUntitled() ? std::string(UntitledName) : DocName);
}

void DocumentState::sbUntitled()
{
    DocPath.clear();
    DocName.clear();
}

void DocumentState::sbNamed(std::string_view path)
{
    DocPath = path;
    DocName = fnFileNameFromPath(path);
}

} // namespace plenix
