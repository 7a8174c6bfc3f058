#include "WidgetAccessibility.h"

#include "Gauge.h"
#include "ImageView.h"
#include "Panel.h"

#include <QAccessibleWidget>

namespace {

// A picture or a panel. One that acts as a button is a push button whose press action clicks
// it; else a picture is a graphic and a panel a pane. Asked each time, as the interface is
// kept once made.
template <class Control> class ControlAccessible : public QAccessibleWidget {
public:
    ControlAccessible(Control* control, QAccessible::Role plainRole)
        : QAccessibleWidget(control, plainRole), plainRole(plainRole) {}

    QAccessible::Role role() const override {
        return control()->pressable() ? QAccessible::Button : plainRole;
    }
    QStringList actionNames() const override {
        QStringList names = QAccessibleWidget::actionNames();
        if (control()->pressable()) names << pressAction();
        return names;
    }
    void doAction(const QString& action) override {
        if (action == pressAction() && control()->pressable()) {
            if (control()->isEnabled()) control()->press();
            return;
        }
        QAccessibleWidget::doAction(action);
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

private:
    Control* control() const { return static_cast<Control*>(widget()); }
    QAccessible::Role plainRole;
};

// The gauge: a progress bar whose value is its progress.
class GaugeAccessible : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit GaugeAccessible(Gauge* gauge) : QAccessibleWidget(gauge, QAccessible::ProgressBar) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::ValueInterface)
            return static_cast<QAccessibleValueInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value) return QStringLiteral("%1%").arg(gauge()->percentDone());
        return QAccessibleWidget::text(t);
    }
    QVariant currentValue() const override { return gauge()->progress(); }
    // The owner sets the gauge; assistive technology only reads it.
    void setCurrentValue(const QVariant&) override {}
    QVariant maximumValue() const override { return gauge()->maxValue(); }
    QVariant minimumValue() const override { return gauge()->minValue(); }
    QVariant minimumStepSize() const override { return 1; }

private:
    Gauge* gauge() const { return static_cast<Gauge*>(widget()); }
};

QAccessibleInterface* makeInterface(const QString& className, QObject* object) {
    if (className == QLatin1String("ImageView"))
        return new ControlAccessible<ImageView>(static_cast<ImageView*>(object),
                                                QAccessible::Graphic);
    if (className == QLatin1String("Panel"))
        return new ControlAccessible<Panel>(static_cast<Panel*>(object), QAccessible::Pane);
    if (className == QLatin1String("Gauge"))
        return new GaugeAccessible(static_cast<Gauge*>(object));
    return nullptr;
}

} // namespace

void installWidgetAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(makeInterface);
        return true;
    }();
    (void)installed;
}
