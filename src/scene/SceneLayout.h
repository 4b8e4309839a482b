#pragma once

#include "skin/SkinItems.h"

#include <QLatin1StringView>
#include <QRectF>
#include <QSize>

#include <array>
#include <optional>
#include <span>

// The mock-up of the Zantho screen, described once for both scenes: each role has an
// element in the colour-background scene and one in the picture-background scene, with
// the same geometry, font and colour items.

enum class SceneKind
{
    Colour,  // over the two-colour gradient
    Picture, // over the imported background
};
inline constexpr size_t SceneCount = 2;
inline constexpr QSize SceneSize{480, 360};

enum class TextMode
{
    Skinning, // every text names the item that colours it
    Actual,   // sample content of a Zantho screen
};

// The two rounds of blending: the panels over the background, then the bars and the
// pop-up over the panels.
enum class BlendPhase
{
    OverBackground,
    OverPanels,
};

// What each element of the mock-up shows.
enum class Role
{
    TitleText,
    TitleShadow,
    TitleBar,
    HeaderLine,
    LeftPanel,
    RightPanel,
    SectionLine,
    FirstListLine,
    ChangeBar,
    ChangeLine,
    LeftSelectionBar,
    LeftSelectedLine,
    RightSelectionBar,
    RightSelectedLine,
    PopupBox,
    PopupTitle,
    PopupFirstRow,
    PopupSelectedRow,
    PopupUnsupportedRow,
    BottomLine,
};
inline constexpr size_t RoleCount = 20;

enum class ElementKind
{
    Text,
    Rectangle,
    RoundedRectangle,
};

enum class Weight
{
    Regular,
    Bold,
};

// Where a text's box starts and how wide it is, where a mode moves it.
struct Span
{
    double left;
    double width;
};

struct ElementLayout
{
    Role role;
    ElementKind kind;
    std::array<const char *, SceneCount> names; // in the colour scene, the picture scene
    QRectF geometry;                            // a text's box in the skinning-text mode

    // Texts: one line, transparent, from the box's top-left corner, clipped to the box.
    int pixelSize = 0;
    Weight weight = Weight::Regular;
    int textRow = -1; // colour item
    QLatin1StringView skinningText = {};
    QLatin1StringView actualText = {};
    std::optional<Span> actualSpan = {}; // the box in the actual-text mode, if it moves

    // Rectangles: a 1 px outline; the fill exists only as the blend beneath.
    int fillRow = -1; // fill colour and the opacity of its blend
    int outlineRow = -1;
    BlendPhase phase = BlendPhase::OverBackground;

    constexpr bool isText() const { return kind == ElementKind::Text; }
    const char *name(SceneKind scene) const { return names[size_t(scene)]; }
    QLatin1StringView text(TextMode mode) const
    {
        return mode == TextMode::Skinning ? skinningText : actualText;
    }
    // The box in `mode`: the title and its shadow are centred anew for each mode's text.
    QRectF box(TextMode mode) const;
};

const ElementLayout &layoutOf(Role role);
// Every role, in the order of the layout.
std::span<const ElementLayout, RoleCount> sceneLayout();

// How the elements of a scene lie over each other, topmost first. Where an outline
// crosses a text, the two scenes stack them differently.
std::span<const Role, RoleCount> stacking(SceneKind scene);

// The rectangles in the order a scene blends them, phase by phase.
inline constexpr std::array<Role, 7> BlendOrder = {
    Role::LeftPanel,         Role::RightPanel,       Role::TitleBar, Role::ChangeBar,
    Role::RightSelectionBar, Role::LeftSelectionBar, Role::PopupBox,
};

// The element colours are read in the order of a skin file, after its two background
// colours, which the gradient takes.
static_assert(SkinFileOrder[0] == Row::BgColour1 && SkinFileOrder[1] == Row::BgColour2);
inline constexpr std::span<const int> ColouringOrder = std::span(SkinFileOrder).subspan<2>();
