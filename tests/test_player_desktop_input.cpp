// The OIS devices of the desktop entry against a stand-in input system: the locale after the
// keyboard exists, the controller only when one is attached, the per-frame poll, release at exit.
#include <gtest/gtest.h>

#include <OIS.h>

#include <clocale>
#include <cstdio>
#include <string>

#include "model/KXDebugLog.h"
#include "player/desktop/CaptureObject.h"
#include "player/desktop/KXPInputDevices.h"
#include "support/comma_locale.h"

namespace {

struct Counters {
    int keyboardCaptures = 0;
    int joystickCaptures = 0;
    int destroyed = 0;
    int systems = 0;
    std::string window;
};

// Sets the process locale from the environment, as OIS's X11 keyboard does.
class FakeKeyboard : public OIS::Keyboard {
public:
    FakeKeyboard(OIS::InputManager* creator, Counters& counters)
        : OIS::Keyboard("fake", true, 0, creator), m_counters(counters) {}
    void _initialize() override { std::setlocale(LC_ALL, ""); }
    void capture() override { ++m_counters.keyboardCaptures; }
    void setBuffered(bool buffered) override { mBuffered = buffered; }
    bool isKeyDown(OIS::KeyCode) const override { return false; }
    const std::string& getAsString(OIS::KeyCode) override { return m_name; }
    void copyKeyStates(char keys[256]) const override {
        for (int i = 0; i < 256; ++i) {
            keys[i] = 0;
        }
    }
    OIS::Interface* queryInterface(OIS::Interface::IType) override { return nullptr; }
    OIS::KeyListener* listener() const { return mListener; }

private:
    Counters& m_counters;
    std::string m_name = "key";
};

class FakeJoystick : public OIS::JoyStick {
public:
    FakeJoystick(OIS::InputManager* creator, Counters& counters)
        : OIS::JoyStick("fake", true, 0, creator), m_counters(counters) {}
    void _initialize() override {}
    void capture() override { ++m_counters.joystickCaptures; }
    void setBuffered(bool buffered) override { mBuffered = buffered; }
    OIS::Interface* queryInterface(OIS::Interface::IType) override { return nullptr; }
    OIS::JoyStickListener* listener() const { return mListener; }

private:
    Counters& m_counters;
};

class FakeSystem : public OIS::InputManager, public OIS::FactoryCreator {
public:
    FakeSystem(OIS::ParamList& params, int joysticks, Counters& counters)
        : OIS::InputManager("fake"), m_joysticks(joysticks), m_counters(counters) {
        auto window = params.find("WINDOW");
        m_counters.window = window == params.end() ? "" : window->second;
        ++m_counters.systems;
        mFactories.push_back(this);
    }
    ~FakeSystem() override { --m_counters.systems; }

    void _initialize(OIS::ParamList&) override {}
    OIS::DeviceList freeDeviceList() override { return OIS::DeviceList(); }
    int totalDevices(OIS::Type type) override {
        return type == OIS::OISKeyboard ? 1 : type == OIS::OISJoyStick ? m_joysticks : 0;
    }
    int freeDevices(OIS::Type type) override { return totalDevices(type); }
    bool vendorExist(OIS::Type, const std::string&) override { return true; }
    OIS::Object* createObject(OIS::InputManager* creator, OIS::Type type, bool, const std::string&) override {
        if (type == OIS::OISKeyboard) {
            return new FakeKeyboard(creator, m_counters);
        }
        return new FakeJoystick(creator, m_counters);
    }
    void destroyObject(OIS::Object* object) override {
        ++m_counters.destroyed;
        delete object;
    }

private:
    int m_joysticks;
    Counters& m_counters;
};

class Listener : public OIS::KeyListener, public OIS::JoyStickListener {
public:
    bool keyPressed(const OIS::KeyEvent&) override { return true; }
    bool keyReleased(const OIS::KeyEvent&) override { return true; }
    bool buttonPressed(const OIS::JoyStickEvent&, int) override { return true; }
    bool buttonReleased(const OIS::JoyStickEvent&, int) override { return true; }
    bool axisMoved(const OIS::JoyStickEvent&, int) override { return true; }
};

KXPInputDevices::SystemFactory fakeFactory(int joysticks, Counters& counters) {
    return [joysticks, &counters](OIS::ParamList& params) {
        return new FakeSystem(params, joysticks, counters);
    };
}

TEST(DesktopInputDevices, NumbersPrintWithAPointOnceTheKeyboardExists) {
    CommaDecimalLocale locale;
    if (!locale.active()) {
        GTEST_SKIP() << "no de_DE locale sources (package locales) to build a comma-decimal locale";
    }
    // The environment asks for the comma locale; the keyboard takes it up when it is created.
    ::setenv("LC_ALL", "de_DE.UTF-8", 1);
    std::setlocale(LC_ALL, "C");
    Counters counters;
    Listener listener;
    KXPInputDevices devices(fakeFactory(0, counters));
    ASSERT_TRUE(devices.create(4242, &listener));
    ::unsetenv("LC_ALL");
    // The premise: the keyboard really did switch the process to the comma locale...
    EXPECT_NE(std::string(std::setlocale(LC_CTYPE, nullptr)).find("de_DE"), std::string::npos);
    // ...and numbers still print with a point.
    char text[16];
    std::snprintf(text, sizeof text, "%.1f", 0.5);
    EXPECT_STREQ(text, "0.5");
    EXPECT_EQ(counters.window, "4242");
}

TEST(DesktopInputDevices, AControllerIsUsedOnlyWhenOneIsAttachedAtStart) {
    Counters counters;
    Listener listener;
    {
        KXPInputDevices devices(fakeFactory(0, counters));
        ASSERT_TRUE(devices.create(7, &listener));
        ASSERT_NE(devices.keyboard(), nullptr);
        EXPECT_EQ(devices.joystick(), nullptr);
        EXPECT_EQ(static_cast<FakeKeyboard*>(devices.keyboard())->listener(), &listener);
        devices.capture();
        EXPECT_EQ(counters.keyboardCaptures, 1);
    }
    // Leaving scope released the keyboard and the system.
    EXPECT_EQ(counters.destroyed, 1);
    EXPECT_EQ(counters.systems, 0);

    counters = Counters();
    KXPInputDevices devices(fakeFactory(1, counters));
    ASSERT_TRUE(devices.create(7, &listener));
    ASSERT_NE(devices.joystick(), nullptr);
    EXPECT_EQ(static_cast<FakeJoystick*>(devices.joystick())->listener(), &listener);

    // The capture object polls each device once per frame.
    CaptureObject capture(&devices);
    capture.update(1.0f / 60.0f);
    capture.update(1.0f / 60.0f);
    EXPECT_EQ(counters.keyboardCaptures, 2);
    EXPECT_EQ(counters.joystickCaptures, 2);

    devices.destroy();
    EXPECT_EQ(counters.destroyed, 2);
    EXPECT_EQ(counters.systems, 0);
    capture.update(1.0f / 60.0f);
    EXPECT_EQ(counters.keyboardCaptures, 2);
}

TEST(DesktopInputDevices, WithoutAnX11WindowOrWhenOISFailsTheGameRunsWithoutKeyboard) {
    Counters counters;
    Listener listener;
    KXDebugLogCapture log;
    KXPInputDevices withoutWindow(fakeFactory(1, counters));
    EXPECT_FALSE(withoutWindow.create(0, &listener));
    EXPECT_EQ(counters.systems, 0);
    EXPECT_EQ(log.lines().size(), 1u);

    log.clear();
    KXPInputDevices failing([](OIS::ParamList&) -> OIS::InputManager* {
        throw OIS::Exception(OIS::E_General, "no display", __LINE__, __FILE__);
    });
    EXPECT_FALSE(failing.create(5, &listener));
    EXPECT_EQ(failing.keyboard(), nullptr);
    failing.capture();
    ASSERT_EQ(log.lines().size(), 1u);
    EXPECT_NE(log.lines()[0].find("no display"), std::string::npos);
}

} // namespace
