// A form's controls and the layer that holds them are members of one object and go in member
// order; either order must leave nothing pointing at a destroyed control.
#include <gtest/gtest.h>

#include <memory>

#include "platform/headless/headless_backend.h"
#include "presentation/controls.h"
#include "presentation/window.h"

namespace {

TEST(ControlsLifetime, AControlDestroyedFirstLeavesItsLayerAndItsFocus) {
  platform::HeadlessBackend backend;
  TWindow window(backend);
  TControls layer(window);
  TButton kept("Button2");
  auto gone = std::make_unique<TButton>("Button3");
  layer.Add(kept);
  layer.Add(*gone);
  layer.SetFocus(gone.get());
  ASSERT_EQ(layer.Focused(), gone.get());
  gone.reset();
  ASSERT_EQ(layer.All().size(), 1u);
  EXPECT_EQ(layer.All()[0], &kept);
  EXPECT_EQ(layer.Focused(), nullptr);
  EXPECT_TRUE(layer.Click(kept));  // the layer still works with what is left
}

TEST(ControlsLifetime, AControlOutlivingItsLayerGoesOnAlone) {
  platform::HeadlessBackend backend;
  TWindow window(backend);
  TButton button("Button2");
  {
    TControls layer(window);
    layer.Add(button);
  }
  button.SetVisible(false);  // no layer left to tell
  EXPECT_FALSE(button.Visible());
}

}  // namespace
