#include "shell/simulate_panel.h"

#include "sim/sim_backend.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

#include <array>

namespace zq::shell {

namespace {

struct Row {
    sim::DeviceKind kind;
    const char* name;
    const char* title;
};
constexpr std::array<Row, 3> kRows{{
    {sim::DeviceKind::Mouse, "mouse", "Mouse"},
    {sim::DeviceKind::Pad, "pad", "Mouse pad"},
    {sim::DeviceKind::Keyboard, "keyboard", "Keyboard"},
}};

} // namespace

SimulatePanel::SimulatePanel(sim::SimBackend& backend, QWidget* parent)
    : QWidget(parent, Qt::Window), backend_(backend) {
    setObjectName(QStringLiteral("sim_panel"));
    setWindowTitle(QStringLiteral("Simulated devices"));
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(16, 16, 16, 16);
    grid->setHorizontalSpacing(12);
    grid->setVerticalSpacing(8);
    int row = 0;
    for (const Row& r : kRows) {
        sim::SimDevice* device = backend_.find(r.kind);
        if (!device) continue;
        auto* plugged = new QCheckBox(QString::fromLatin1(r.title), this);
        plugged->setObjectName(QStringLiteral("sim_plug_%1").arg(QLatin1String(r.name)));
        plugged->setToolTip(QStringLiteral("Plugged in"));
        connect(plugged, &QCheckBox::toggled, this, [device](bool on) {
            if (on && !device->plugged())
                device->plug();
            else if (!on && device->plugged())
                device->unplug();
        });
        grid->addWidget(plugged, row, 0);
        int column = 1;
        auto addButton = [&](const char* id, const char* text, auto press) {
            auto* button = new QPushButton(QString::fromLatin1(text), this);
            button->setObjectName(QStringLiteral("sim_%1_%2").arg(QLatin1String(r.name), QLatin1String(id)));
            connect(button, &QPushButton::clicked, this, [device, press] { press(*device); });
            grid->addWidget(button, row, column++);
        };
        if (r.kind == sim::DeviceKind::Mouse) {
            addButton("profile", "Profile button", [](sim::SimDevice& d) { d.pressProfileButton(); });
            addButton("dpi", "DPI button", [](sim::SimDevice& d) { d.pressDpiButton(); });
        }
        if (r.kind != sim::DeviceKind::Pad) addButton("click", "Click", [](sim::SimDevice& d) { d.click(); });
        ++row;
    }
    auto* note = new QLabel(QStringLiteral("The program sees these devices as it sees real ones."), this);
    note->setWordWrap(true);
    grid->addWidget(note, row, 0, 1, 4);
    refresh();
}

void SimulatePanel::refresh() {
    for (const Row& r : kRows) {
        const sim::SimDevice* device = backend_.find(r.kind);
        auto* box = findChild<QCheckBox*>(QStringLiteral("sim_plug_%1").arg(QLatin1String(r.name)));
        if (!device || !box) continue;
        const QSignalBlocker block(box);
        box->setChecked(device->plugged());
    }
}

void SimulatePanel::showEvent(QShowEvent* event) {
    refresh();
    QWidget::showEvent(event);
}

} // namespace zq::shell
