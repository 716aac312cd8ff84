// The purchase bridge completes a purchase at once, and only with a callback stored.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cocos2d.h"
#include "model/KXDebugLog.h"
#include "player/services/KXPurchaseBridge.h"

namespace {

class Shop : public cocos2d::CCObject {
public:
    void completed(const std::string& product) { products.push_back(product); }
    std::vector<std::string> products;
};

TEST(PurchaseBridge, APurchaseCompletesAtOnceOnlyWithACallback) {
    KXDebugLogCapture log;
    KXPurchaseBridge* bridge = KXPurchaseBridge::shared();
    bridge->setCallback(nullptr, nullptr);
    bridge->purchase("com.example.coins");
    EXPECT_TRUE(log.lines().empty());

    auto* shop = new Shop();
    bridge->setCallback(shop, purchase_selector(Shop::completed));
    bridge->setCallback(shop, purchase_selector(Shop::completed));
    bridge->purchase("com.example.coins");
    EXPECT_EQ(shop->products, (std::vector<std::string>{"com.example.coins"}));
    EXPECT_EQ(log.lines(),
              (std::vector<std::string>{"[KXPurchaseBridge] purchase completed: com.example.coins"}));

    // The stored target stays alive after its owner lets go.
    shop->release();
    bridge->purchase("com.example.gems");
    EXPECT_EQ(shop->products.size(), 2u);
    bridge->setCallback(shop, nullptr);
    bridge->purchase("com.example.gems");
    EXPECT_EQ(shop->products.size(), 2u);
    bridge->setCallback(nullptr, nullptr);
}

} // namespace
