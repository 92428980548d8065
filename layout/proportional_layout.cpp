#include "layout/proportional_layout.h"

#include <QWidget>
#include <cmath>

#include "platform/auto_size_label.h"
#include "platform/look.h"
#include "platform/numeric_text.h"

namespace ProportionalLayout {

namespace {

const QString kSeparator = QStringLiteral("   ");
const char *const kTagProperty = "Tag";

QString number(double value)
{
    if (value == std::floor(value) && std::fabs(value) < 1e15)
        return QString::number(qint64(value));
    return QString::number(value, 'g', 15);
}

// A control's geometry in twips; a self-sizing label reports the box it was placed at.
QRect designRect(const QWidget *control)
{
    if (const auto *label = qobject_cast<const AutoSizeLabel *>(control))
        return label->box();
    return control->geometry();
}

void place(QWidget *control, double left, double top, double width, double height)
{
    const auto px = [](double twips) { return int(std::lround(Look::twipsToPixels(twips))); };
    const QRect rect(px(left), px(top), std::max(0, px(width)), std::max(0, px(height)));
    if (auto *label = qobject_cast<AutoSizeLabel *>(control))
        label->setBox(rect);
    else
        control->setGeometry(rect);
}

QList<QObject *> controlsOf(QWidget *form)
{
    return form->findChildren<QObject *>(QString(), Qt::FindDirectChildrenOnly);
}

} // namespace

QString formatTag(double left, double top, double width, double height)
{
    return number(left) + kSeparator + number(top) + kSeparator + number(width) + kSeparator +
           number(height) + kSeparator;
}

std::array<double, 4> parseTag(const QString &tag)
{
    std::array<double, 4> values{0, 0, 0, 0};
    qsizetype scan = 0;
    for (double &value : values) {
        const qsizetype separator = tag.indexOf(kSeparator, scan);
        if (separator < 0)
            break; // this field and the ones after it read as 0
        value = NumericText::leadingNumber(tag.mid(scan, separator - scan));
        scan = separator + 1;
    }
    return values;
}

void ResizeInit(QWidget *FormName, qint32 &designWidth, qint32 &designHeight)
{
    designWidth = qint32(NumericText::roundHalfEven(FormName->width() * Look::kTwipsPerPixel));
    designHeight = qint32(NumericText::roundHalfEven(FormName->height() * Look::kTwipsPerPixel));
    for (QObject *object : controlsOf(FormName)) {
        const auto *control = qobject_cast<QWidget *>(object);
        if (!control || control->isWindow())
            continue; // no geometry to record
        const QRect r = designRect(control);
        const double k = Look::kTwipsPerPixel;
        object->setProperty(kTagProperty,
                            formatTag(r.x() * k, r.y() * k, r.width() * k, r.height() * k));
    }
}

void ResizeForm(QWidget *FormName, qint32 designWidth, qint32 designHeight)
{
    if (designWidth == 0 || designHeight == 0)
        return; // nothing recorded yet
    const double horizontal = FormName->width() * Look::kTwipsPerPixel / double(designWidth);
    const double vertical = FormName->height() * Look::kTwipsPerPixel / double(designHeight);
    for (QObject *object : controlsOf(FormName)) {
        auto *control = qobject_cast<QWidget *>(object);
        if (!control || control->isWindow())
            continue; // cannot be moved
        const auto v = parseTag(object->property(kTagProperty).toString());
        place(control, v[0] * horizontal, v[1] * vertical, v[2] * horizontal, v[3] * vertical);
    }
}

} // namespace ProportionalLayout
