// A screen graph built in the model store for the screens suites: nodes with their screens, found
// by screen key, and named ports between them. Objects are added to screens by class name.
#pragma once

#include <map>
#include <memory>
#include <stdexcept>
#include <string>

#include "model/KXBaseAttribute.h"
#include "model/KXModelController.h"
#include "model/attributes/KXAttributeNumbers.h"
#include "model/attributes/KXAttributePoint.h"
#include "model/attributes/KXAttributeString.h"
#include "model/classes/KXModelObject.h"
#include "model/classes/KXModelScreen.h"
#include "model/classes/KXModelScreenScene.h"
#include "model/classes/KXNode.h"

namespace kxtest {

class ScreenGraph {
public:
    // A model of a registered class, in the store.
    static std::shared_ptr<KXModel> make(const std::string& className, const std::string& name = "") {
        KXModelController* store = KXModelController::shared();
        std::shared_ptr<KXModel> model = store->createModel(className);
        if (!model) {
            throw std::runtime_error("no model class " + className);
        }
        if (!name.empty()) {
            model->setName(name);
        }
        store->addModel(model);
        return model;
    }

    // A UI node (KXNodeUI) with a screen of that key.
    std::shared_ptr<KXModelScreen> ui(const std::string& key) {
        return screen("KXNodeUI", "KXModelScreen", key);
    }
    // The start node with its loading screen.
    std::shared_ptr<KXModelScreen> start(const std::string& key = "KXPScreenStart") {
        return screen("KXNodeUIStart", "KXModelScreen", key);
    }
    // A scene node with its game scene.
    std::shared_ptr<KXModelScreenScene> scene(const std::string& key) {
        return std::static_pointer_cast<KXModelScreenScene>(screen("KXNodeScene", "KXModelScreenScene", key));
    }

    std::shared_ptr<KXNode> node(const std::string& key) const {
        const auto found = m_nodes.find(key);
        return found == m_nodes.end() ? nullptr : found->second;
    }

    // The output port `port` of the node of `fromKey` leads to the node of `toKey`.
    void link(const std::string& fromKey, const std::string& port, const std::string& toKey) {
        std::shared_ptr<KXNode> from = node(fromKey);
        std::shared_ptr<KXNode> to = node(toKey);
        KXBaseAttribute* output = from->attribute(port);
        if (output == nullptr) {
            output = new KXAttribute(port, from.get());
            output->setConnectionKind(KXAttributeConnectionOutput, true);
        }
        output->connect(to->loadPort(), true);
    }

    // An object of `className` on the screen, at a place and depth.
    template <class T = KXModelObject>
    std::shared_ptr<T> object(KXModelScreen& screen, const std::string& className, const std::string& name,
                              cocos2d::CCPoint position = cocos2d::CCPoint(100.0f, 100.0f), int depth = 0) {
        auto model = std::static_pointer_cast<T>(make(className, name));
        model->positionAttribute()->setValue(position, true);
        model->zDepthAttribute()->setValue(depth, true);
        screen.addChild(model, true);
        return model;
    }

private:
    std::shared_ptr<KXModelScreen> screen(const std::string& nodeClass, const std::string& screenClass,
                                          const std::string& key) {
        auto node = std::static_pointer_cast<KXNode>(make(nodeClass, key + " node"));
        auto model = std::static_pointer_cast<KXModelScreen>(make(screenClass, key));
        model->keyAttribute()->setValue(key, true);
        node->addChild(model, true);
        m_nodes[key] = node;
        return model;
    }

    std::map<std::string, std::shared_ptr<KXNode>> m_nodes;
};

} // namespace kxtest
