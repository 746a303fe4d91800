#pragma once
// Shared pieces of the form tests: a skin loaded from JSON with every element
// kind registered, a host with a client rectangle the test can change, and a
// form bound to any node that records the input reaching it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "draw/PixelBuffer.h"
#include "draw/RenderSurface.h"
#include "forms/Form.h"
#include "forms/FormStack.h"
#include "forms/FormStackHost.h"
#include "skin/Properties.h"
#include "skin/SkinFromJson.h"
#include "skin/SkinTestSupport.h"
#include "skin/elements/ElementKinds.h"
#include "support/TestDevice.h"

class TestHost : public FormStackHost {
public:
    Rect client_rect() const override { return client; }
    void form_pushed(Form& form) override { told.push_back({&form, true}); }
    void form_removed(Form& form) override { told.push_back({&form, false}); }

    struct Told {
        Form* form;
        bool pushed;
        friend bool operator==(const Told&, const Told&) = default;
    };
    Rect client{0, 0, 40, 30};
    std::vector<Told> told;
};

// A form bound to one node, recording the input it is given.
class TestForm : public Form {
public:
    TestForm(Properties& properties, std::u16string node) : Form(properties), node_(node) {
        TestForm::load();
    }
    bool pointer_button(const PointerEvent& event) override {
        return ++inputs, Form::pointer_button(event);
    }
    void pointer_move(const PointerEvent& event) override { ++inputs, Form::pointer_move(event); }
    bool key(const KeyEvent& event) override { return ++inputs, Form::key(event); }
    bool character(std::u16string_view text) override { return ++inputs, Form::character(text); }
    void focus() override { ++focused; }

    int inputs = 0;
    int focused = 0;

protected:
    void load() override { bind_or_throw(node_); }

private:
    std::u16string node_;
};

class FormFixture : public ::testing::Test {
protected:
    void load_skin(const std::string& source, const std::string& name = "t.skin") {
        write_skin(device.program() / name, source);
        const std::u16string path = u"%app_path%/" + std::u16string(name.begin(), name.end());
        ASSERT_TRUE(properties.load_skin(path, ScreenInfo{}, fake_makers()));
    }

    TestDevice device;
    ElementKinds kinds;
    Properties properties;
};

// The pixel at (x, y) of surface.
inline uint16_t pixel(const RenderSurface& surface, int32_t x, int32_t y) {
    return surface.buffer()->pixel(x, y);
}
