// The transition and timing controls that the editors share: a pick-only list of transitions
// that starts with nothing chosen, and a timing in whole seconds, 1 to 100, changed only
// through its arrows.
#pragma once

#include "CardEvent.h"

#include <QComboBox>
#include <QSpinBox>
#include <QWidget>

#include <span>
#include <string>
#include <string_view>

class TTimingBox final : public QSpinBox {
    Q_OBJECT
public:
    explicit TTimingBox(QWidget* parent);

    std::string TimingText() const;
    // A row's timing. One that is not a number, as a hand-edited script may hold, shows as 1;
    // a number out of range as the nearest of 1 and 100.
    void SetTimingText(const std::string& text);
};

class TTransitionBox final : public QComboBox {
    Q_OBJECT
public:
    TTransitionBox(std::span<const std::string_view> transitions, QWidget* parent);

    // The chosen item's text, trailing blank included; empty when none is chosen.
    std::string TransitionText() const;
    // Chooses the item whose text is exactly `text`; none when no item is.
    void SelectText(const std::string& text);
};

// "Transition" over its list, then "Timing" over its box: the pair as the background,
// window-opening and clear-text editors show it.
class TransitionTiming final : public QWidget {
    Q_OBJECT
public:
    // `width` is that of the list; the pair is as tall as Height.
    TransitionTiming(std::span<const std::string_view> transitions, int width, QWidget* parent);
    static constexpr int Height = 84;

    // Transition and timing from the row's cells.
    void FillFromRow(const CardEvent& row);

    TTransitionBox* ComboBox1 = nullptr;
    TTimingBox* SpinEdit1 = nullptr;
};
