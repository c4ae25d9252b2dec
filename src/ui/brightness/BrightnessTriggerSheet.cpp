#include "ui/brightness/BrightnessTriggerSheet.h"

#include "app/brightness/BrightnessController.h"
#include "app/brightness/BrightnessLibraryLink.h"
#include "app/language/LocalizedStrings.h"
#include "ui/components/SegmentedPicker.h"
#include "ui/rules/DayOfWeekPicker.h"
#include "ui/screens/ScreenContext.h"
#include "ui/screens/ScreenWidgets.h"

#include <QCheckBox>
#include <QDesktopServices>
#include <QHBoxLayout>
#include <QHideEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QSlider>
#include <QTimeEdit>
#include <QTimer>
#include <QVBoxLayout>

#include <cmath>

namespace kivo {

using namespace ScreenWidgets;

namespace {

constexpr int kSteps = 20; // 0 to 1 in steps of 0.05

int sliderValue(double level) {
    return static_cast<int>(std::lround(std::clamp(level, 0.0, 1.0) * kSteps));
}

} // namespace

BrightnessTriggerSheet::BrightnessTriggerSheet(const ScreenContext& context,
                                               std::optional<BrightnessTrigger> trigger, QWidget* parent)
    : QDialog(parent), context_(context), presenter_(std::make_unique<BrightnessTriggerEditPresenter>(
                                              context.triggers, context.brightness, std::move(trigger))) {
    namespace D = Strings::Display;
    setWindowModality(Qt::WindowModal);
    ScreenWidgets::closeWithWindow(this);
    setFixedSize(400, 550);
    auto* column = new QVBoxLayout(this);
    column->setSpacing(16);
    const QString title = context.text(presenter_->isEditing() ? D::editTrigger() : D::addTrigger());
    setWindowTitle(title);
    setAccessibleName(title);
    column->addWidget(headline(title, this));

    auto* scroll = new QScrollArea(this);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    // The fields take the focus, and the area scrolls to follow it.
    scroll->setFocusPolicy(Qt::NoFocus);
    auto* form = new QWidget(scroll);
    auto* formColumn = new QVBoxLayout(form);
    formColumn->addWidget(captionLabel(context.text(D::Section::basic()), form));
    auto* nameRow = new QHBoxLayout;
    QLabel* nameLabel = plainLabel(context.text(D::Field::name()), form);
    nameRow->addWidget(nameLabel);
    name_ = new QLineEdit(fromStd(presenter_->name()), form);
    labelField(nameLabel, name_);
    nameRow->addWidget(name_, 1);
    formColumn->addLayout(nameRow);
    bindText(name_, [this](const QString& text) {
        presenter_->setName(toStd(text));
        refresh();
        return presenter_->name();
    });
    auto* timeRow = new QHBoxLayout;
    QLabel* timeLabel = plainLabel(context.text(D::Field::time()), form);
    timeRow->addWidget(timeLabel);
    time_ = new QTimeEdit(QTime(static_cast<int>(presenter_->timeMinutes() / 60),
                                static_cast<int>(presenter_->timeMinutes() % 60)),
                          form);
    time_->setDisplayFormat(QStringLiteral("HH:mm"));
    labelField(timeLabel, time_);
    timeRow->addStretch();
    timeRow->addWidget(time_);
    formColumn->addLayout(timeRow);
    connect(time_, &QTimeEdit::userTimeChanged, this,
            [this](const QTime& t) { presenter_->setTimeMinutes(t.hour() * 60 + t.minute()); });

    auto* wake = new QCheckBox(context.text(D::Field::appliesOnWake()), form);
    wake->setChecked(presenter_->appliesOnWake());
    formColumn->addWidget(wake);
    connect(wake, &QCheckBox::clicked, this, [this](bool on) { presenter_->setAppliesOnWake(on); });
    for (const LocalizedString* footer : {&D::Footer::appliesOnWake(), &D::Footer::brightnessAuto()}) {
        QLabel* label = captionLabel(context.text(*footer), form);
        label->setWordWrap(true);
        formColumn->addWidget(label);
    }

    formColumn->addWidget(captionLabel(context.text(Strings::Schedule::section()), form));
    auto* modes = new SegmentedPicker(
        context.text(Strings::Schedule::mode()),
        {context.text(Strings::Schedule::daily()), context.text(Strings::Schedule::byDay())},
        presenter_->isDaily() ? 0 : 1, form);
    daily_ = modes->segment(0);
    byDay_ = modes->segment(1);
    formColumn->addWidget(modes);
    days_ = new DayOfWeekPicker(context, presenter_->selectedDays(), form);
    formColumn->addWidget(days_);
    connect(modes, &SegmentedPicker::segmentClicked, this, [this](int index) {
        presenter_->setDaily(index == 0);
        refresh();
    });
    connect(days_, &DayOfWeekPicker::selectedDaysEdited, this,
            [this](const DaySet& days) { presenter_->setSelectedDays(days); });

    displays_ = new QWidget(form);
    new QVBoxLayout(displays_);
    displays_->layout()->setContentsMargins(0, 0, 0, 0);
    formColumn->addWidget(displays_);
    QLabel* kit = captionLabel(context.text(D::Footer::kit()), form);
    kit->setWordWrap(true);
    formColumn->addSpacing(32);
    formColumn->addWidget(kit);
    // The library's repository as a link, or its bare name when the build knows no address for it.
    const QString libraryTitle = BrightnessLibraryLink::title(context.links);
    QLabel* library = captionLabel(libraryTitle, form);
    library->setObjectName(QStringLiteral("libraryCredit"));
    if (const std::optional<QUrl> url = BrightnessLibraryLink::url(context.links)) {
        library->setTextFormat(Qt::RichText);
        library->setText(
            QStringLiteral("<a href=\"%1\">%2</a>")
                .arg(url->toString(QUrl::FullyEncoded).toHtmlEscaped(), libraryTitle.toHtmlEscaped()));
        library->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
        connect(library, &QLabel::linkActivated, this, [this, address = *url] {
            if (context_.openURL) {
                context_.openURL(address);
            } else {
                QDesktopServices::openUrl(address);
            }
        });
    }
    formColumn->addWidget(library);
    formColumn->addStretch();
    scroll->setWidget(form);
    column->addWidget(scroll, 1);

    const SheetFooter footer = addSheetFooter(
        this, column, context, presenter_->isEditing(),
        presenter_->isEditing()
            ? std::optional<SheetDelete>(SheetDelete{Strings::Display::deleteConfirmTitle(),
                                                     Strings::Common::DeleteConfirm::defaultMessage(),
                                                     [this] { presenter_->confirmDelete(); }})
            : std::nullopt);
    save_ = footer.save;
    delete_ = footer.remove;
    connect(save_, &QPushButton::clicked, this, [this] {
        if (presenter_->save()) {
            accept();
        }
    });
    // Escape, the close box and a plain quit hiding the window all end in finished() or a hide.
    connect(this, &QDialog::finished, this, [this] { presenter_->endPreview(); });
    connect(&context.brightness, &BrightnessController::connectedDisplaysChanged, this,
            [this] { QTimer::singleShot(0, this, &BrightnessTriggerSheet::rebuildDisplays); });

    presenter_->seedDisplayLevels();
    rebuildDisplays();
    refresh();
    // It opens on the name, as the other sheets do, not on the scroll area holding it.
    name_->setFocus();
}

BrightnessTriggerSheet::~BrightnessTriggerSheet() {
    presenter_->endPreview();
}

void BrightnessTriggerSheet::hideEvent(QHideEvent* event) {
    // A spontaneous hide is a minimise: the sheet comes back as it was, its preview with it.
    if (!event->spontaneous()) {
        presenter_->endPreview();
    }
    QDialog::hideEvent(event);
}

std::vector<QSlider*> BrightnessTriggerSheet::sliders(const std::string& name) const {
    std::vector<QSlider*> result;
    const auto [first, last] = sliders_.equal_range(name);
    for (auto it = first; it != last; ++it) {
        result.push_back(it->second);
    }
    return result;
}

void BrightnessTriggerSheet::rebuildDisplays() {
    for (QWidget* old : displays_->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
        old->hide();
        old->deleteLater();
    }
    sliders_.clear();
    for (const DisplayInfo& display : presenter_->displays()) {
        auto* section = new QWidget(displays_);
        auto* sectionColumn = new QVBoxLayout(section);
        sectionColumn->setContentsMargins(0, 0, 0, 0);
        sectionColumn->addWidget(captionLabel(fromStd(display.name), section));
        auto* row = new QHBoxLayout;
        auto* slider = new QSlider(Qt::Horizontal, section);
        slider->setRange(0, kSteps);
        slider->setFixedWidth(300);
        // Filling the first value must not start a preview: only the user's moves are connected.
        slider->setValue(sliderValue(presenter_->level(display.name)));
        const QString name = fromStd(display.name);
        slider->setAccessibleName(context_.text(Strings::Display::A11y::brightnessSlider(name)));
        row->addStretch();
        row->addWidget(plainLabel(QStringLiteral("\u263C"), section));
        row->addWidget(slider);
        row->addWidget(plainLabel(QStringLiteral("\u2600"), section));
        row->addStretch();
        sectionColumn->addLayout(row);
        displays_->layout()->addWidget(section);
        const std::string key = display.name;
        sliders_.emplace(key, slider);
        const auto describe = [this, slider, key] {
            const qint64 percent = std::lround(presenter_->level(key) * 100.0);
            slider->setAccessibleDescription(
                context_.text(Strings::Display::A11y::brightnessPercent(percent)));
        };
        describe();
        connect(slider, &QSlider::valueChanged, this, [this, key](int value) {
            presenter_->setLevel(key, value / static_cast<double>(kSteps));
            for (QSlider* twin : sliders(key)) {
                const QSignalBlocker quiet(twin);
                twin->setValue(value);
            }
        });
        connect(slider, &QSlider::valueChanged, this, describe);
    }
}

void BrightnessTriggerSheet::refresh() {
    days_->setVisible(!presenter_->isDaily());
    save_->setEnabled(presenter_->canSave());
}

} // namespace kivo
