#include "player/app/KXPKindNames.h"

#include "player/base/KXPKinds.h"
#include "player/components/KXComponent.h"
#include "player/field/KXPScreenScene.h"
#include "player/objects/KXPAnimationObject.h"
#include "player/objects/assets/KXPObjectAsset.h"
#include "player/objects/buttons/KXPObjectButton.h"
#include "player/objects/character/KXPObjectAssetCharacter.h"
#include "player/screens/KXPScreen.h"

std::vector<std::string> kxKindNames() {
    // The makers; their rows come from their own tables.
    const KXPKindTable tables[] = {
        KXPObjectAsset::kindTable(),      KXComponent::kindTable(),
        KXPScreen::objectKindTable(),     KXPObjectButton::kindTable(),
        KXPScreenScene::levelKindTable(), KXPScreenScene::sceneKindTable(),
        KXPAnimationObject::kindTable(),  KXPObjectAssetCharacter::kindTable(),
    };
    std::vector<std::string> names;
    for (const KXPKindTable& table : tables) {
        for (const char* row : table.rows) {
            names.push_back(std::string(table.factory) + ":" + row);
        }
    }
    return names;
}
