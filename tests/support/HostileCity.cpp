#include "HostileCity.h"

namespace HostileCity {

CityRecipe recipe()
{
    CityRecipe recipe;
    recipe.name = QStringLiteral("hostile");
    recipe.dataScript = QStringLiteral(KVIRZETA_FIXTURE_DIR "/hostile.sql");
    recipe.keys = false;
    recipe.sheets = QStringList(std::begin(Hostile::PresentSheets), std::end(Hostile::PresentSheets));
    recipe.truncatedSheets = {QStringLiteral("B2")};
    return recipe;
}

} // namespace HostileCity
