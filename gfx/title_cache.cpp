#include "gfx/title_cache.h"

#include <algorithm>

#include "gfx/title_textures.h"
#include "library/catalogue.h"

TitleTexture &titleToDraw(Catalogue &catalogue, uint16_t index)
{
    std::vector<uint16_t> &made = catalogue.madeTitles;
    TitleTexture &title = catalogue.titleTextures[index];
    // A screen draws the same title frame after frame.
    if (!made.empty() && made.back() == index)
        return title;
    const auto found = std::find(made.begin(), made.end(), index);
    if (found != made.end())
        made.erase(found);
    else if (title.texture == 0)
        createTitleTexture(title);
    made.push_back(index);
    if (made.size() > MadeTitleLimit) {
        releaseTitleTexture(catalogue.titleTextures[made.front()]);
        made.erase(made.begin());
    }
    return title;
}
