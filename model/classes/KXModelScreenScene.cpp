#include "model/classes/KXModelScreenScene.h"

KXModelScreenScene::KXModelScreenScene(const std::string& name) : KXBaseModelScreenScene(name) {}

KXModelScreenScene::KXModelScreenScene(const KXModelScreenScene& source) : KXBaseModelScreenScene(source) {}
