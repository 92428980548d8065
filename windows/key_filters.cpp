#include "windows/key_filters.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <optional>

#include "platform/text_codec.h"

namespace KeyFilters {

int characterCode(QChar c)
{
    if (c.unicode() < 0x80)
        return c.unicode();
    const QByteArray bytes = TextCodec::toAnsi(QString(c));
    if (bytes.size() >= 2)
        return qint16((quint8(bytes[0]) << 8) | quint8(bytes[1]));
    return -1;
}

bool strictKeeps(int code)
{
    return (code >= '0' && code <= '9') || code == 8 || code == '.';
}

bool looseKeeps(int code)
{
    return code <= '9';
}

namespace {

// The code a key press types, if it types a character at all. A control key combination such as
// Ctrl+V types its control character (22), whatever text the platform attached to the event;
// navigation and deletion keys type nothing.
std::optional<int> typedCode(const QKeyEvent &key)
{
    if ((key.modifiers() & Qt::ControlModifier) && key.key() >= Qt::Key_A && key.key() <= Qt::Key_Z)
        return key.key() - Qt::Key_A + 1;
    if (key.key() == Qt::Key_Tab || key.key() == Qt::Key_Backtab || key.key() == Qt::Key_Delete ||
        key.text().isEmpty())
        return std::nullopt;
    return characterCode(key.text().front());
}

class Filter : public QObject
{
public:
    Filter(Kind kind, QObject *parent) : QObject(parent), m_kind(kind) {}

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::KeyPress) {
            const std::optional<int> code = typedCode(*static_cast<QKeyEvent *>(event));
            return code && !keeps(*code);
        }
        if (event->type() == QEvent::InputMethod) {
            auto *input = static_cast<QInputMethodEvent *>(event);
            QString kept;
            for (const QChar c : input->commitString()) {
                if (keeps(characterCode(c)))
                    kept += c;
            }
            if (kept != input->commitString()) {
                input->setCommitString(kept, input->replacementStart(), input->replacementLength());
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool keeps(int code) const
    {
        return m_kind == Kind::Strict ? strictKeeps(code) : looseKeeps(code);
    }

    Kind m_kind;
};

} // namespace

void install(QLineEdit *field, Kind kind)
{
    field->installEventFilter(new Filter(kind, field));
}

} // namespace KeyFilters
