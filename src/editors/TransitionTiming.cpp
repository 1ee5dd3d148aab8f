#include "TransitionTiming.h"

#include "EditorTexts.h"

#include <QLabel>
#include <QLineEdit>

#include <algorithm>
#include <charconv>

namespace {
constexpr int kMinTiming = 1;
constexpr int kMaxTiming = 100;
constexpr int kLabelHeight = 16;
constexpr int kBoxHeight = 22;
constexpr int kTimingWidth = 60;
constexpr int kTimingTop = 46;
} // namespace

TTimingBox::TTimingBox(QWidget* parent) : QSpinBox(parent) {
    setRange(kMinTiming, kMaxTiming);
    setSingleStep(1);
    setValue(kMinTiming);
    // Arrows, arrow keys and the wheel change it; typed digits do not.
    lineEdit()->setReadOnly(true);
    setObjectName(QStringLiteral("SpinEdit1"));
}

std::string TTimingBox::TimingText() const {
    return std::to_string(value());
}

void TTimingBox::SetTimingText(const std::string& text) {
    long long seconds = kMinTiming;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, seconds);
    if (error == std::errc::result_out_of_range)
        seconds = text.starts_with('-') ? kMinTiming : kMaxTiming;
    else if (error != std::errc() || stop != end)
        seconds = kMinTiming;
    setValue(int(std::clamp<long long>(seconds, kMinTiming, kMaxTiming)));
}

TTransitionBox::TTransitionBox(std::span<const std::string_view> transitions, QWidget* parent)
    : QComboBox(parent) {
    setEditable(false);
    for (std::string_view item : transitions)
        addItem(QString::fromUtf8(item.data(), qsizetype(item.size())));
    setCurrentIndex(-1);
    setObjectName(QStringLiteral("ComboBox1"));
}

std::string TTransitionBox::TransitionText() const {
    return currentText().toStdString();
}

void TTransitionBox::SelectText(const std::string& text) {
    int found = -1;
    for (int i = 0; i < count() && found < 0; ++i)
        if (itemText(i).toStdString() == text) found = i;
    setCurrentIndex(found);
}

TransitionTiming::TransitionTiming(std::span<const std::string_view> transitions, int width,
                                   QWidget* parent)
    : QWidget(parent) {
    setFixedSize(width, Height);
    auto* transitionLabel = new QLabel(editortext::kTransition, this);
    transitionLabel->setGeometry(0, 0, width, kLabelHeight);
    ComboBox1 = new TTransitionBox(transitions, this);
    ComboBox1->setGeometry(0, kLabelHeight, width, kBoxHeight);
    auto* timingLabel = new QLabel(editortext::kTiming, this);
    timingLabel->setGeometry(0, kTimingTop, width, kLabelHeight);
    SpinEdit1 = new TTimingBox(this);
    SpinEdit1->setGeometry(0, kTimingTop + kLabelHeight, kTimingWidth, kBoxHeight);
    transitionLabel->setBuddy(ComboBox1);
    timingLabel->setBuddy(SpinEdit1);
}

void TransitionTiming::FillFromRow(const CardEvent& row) {
    ComboBox1->SelectText(row.Cells[kColTransition]);
    SpinEdit1->SetTimingText(row.Cells[kColTiming]);
}
