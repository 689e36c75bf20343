// Lays out dialog templates with Qt widgets and exchanges their values with
// the dialog's control states.
#include "ui/qt/dialog_window.h"

#include "ui/qt/key_codes.h"

#include "platform/host.h"
#include "platform/win_types.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>

namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

// Windows writes line breaks in edit controls as "\r\n"; Qt wants "\n".
QString ToWidgetText(const std::string& text)
{
    QString s = Q(text);
    s.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    return s;
}

std::string FromMultiline(const QString& text)
{
    QString s = text;
    s.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    return s.toStdString();
}

}  // namespace

CQtDialogWindow::CQtDialogWindow(CDialog& dialog, const CDialogTemplate& tmpl, QWidget* parent,
                                 bool modal)
    : QDialog(parent), m_Dialog(&dialog), m_Template(tmpl), m_Modal(modal)
{
    setObjectName(QStringLiteral("dialog%1").arg(tmpl.id));
    if (tmpl.style & ORDUNE_STYLE_NOCAPTION)
        setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    else
        setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                       Qt::WindowSystemMenuHint);
    Build();
}

CQtDialogWindow::~CQtDialogWindow()
{
    if (m_Dialog && m_Dialog->View() == this)
        m_Dialog->SetView(nullptr);
}

QRect CQtDialogWindow::UnitsToPixels(int x, int y, int cx, int cy) const
{
    // Dialog units: a quarter of the average character width across, an
    // eighth of the font height down.
    QFontMetrics fm(font());
    static const QString alphabet =
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    double baseX = fm.horizontalAdvance(alphabet) / 52.0;
    double baseY = fm.height();
    auto px = [](int units, double base, int div) { return static_cast<int>(units * base / div + 0.5); };
    return QRect(px(x, baseX, 4), px(y, baseY, 8), px(cx, baseX, 4), px(cy, baseY, 8));
}

void CQtDialogWindow::Build()
{
    setWindowTitle(Q(m_Template.caption));
    QButtonGroup* radios = nullptr;
    for (const OrduneDialogItem& item : m_Template.controls) {
        QRect r = UnitsToPixels(item.x, item.y, item.cx, item.cy);
        QString text = item.text ? QString::fromUtf8(item.text) : QString();
        QWidget* w = nullptr;
        unsigned id = item.id;
        if (item.kind != ORDUNE_DLG_RADIO)
            radios = nullptr;
        switch (item.kind) {
        case ORDUNE_DLG_STATIC: {
            auto* label = new QLabel(text, this);
            label->setWordWrap(true);
            Qt::Alignment h = (item.style & ORDUNE_STYLE_RIGHT)    ? Qt::AlignRight
                              : (item.style & ORDUNE_STYLE_CENTER) ? Qt::AlignHCenter
                                                                   : Qt::AlignLeft;
            label->setAlignment(h | Qt::AlignTop);
            w = label;
            break;
        }
        case ORDUNE_DLG_ICON: {
            auto* label = new QLabel(this);
            int side = std::min(r.width(), r.height());
            label->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(side, side));
            w = label;
            break;
        }
        case ORDUNE_DLG_EDIT:
            if (item.style & ORDUNE_STYLE_MULTILINE) {
                auto* edit = new QPlainTextEdit(this);
                edit->setLineWrapMode(QPlainTextEdit::NoWrap);
                edit->setReadOnly(item.style & ORDUNE_STYLE_READONLY);
                connect(edit, &QPlainTextEdit::textChanged, this, [this, id] { Store(id); });
                w = edit;
            } else {
                auto* edit = new QLineEdit(text, this);
                edit->setReadOnly(item.style & ORDUNE_STYLE_READONLY);
                connect(edit, &QLineEdit::textEdited, this, [this, id] {
                    Store(id);
                    if (m_Dialog && !m_Updating)
                        m_Dialog->TextEdited(id);
                });
                w = edit;
            }
            w->installEventFilter(this);
            break;
        case ORDUNE_DLG_BUTTON: {
            auto* button = new QPushButton(text, this);
            bool isDefault = item.style & ORDUNE_STYLE_DEFAULT;
            button->setDefault(isDefault);
            button->setAutoDefault(isDefault);
            connect(button, &QPushButton::clicked, this, [this, id] {
                if (m_Dialog)
                    m_Dialog->PressButton(id);
            });
            w = button;
            break;
        }
        case ORDUNE_DLG_CHECK:
        case ORDUNE_DLG_RADIO: {
            QAbstractButton* button;
            if (item.kind == ORDUNE_DLG_CHECK) {
                button = new QCheckBox(text, this);
            } else {
                // Consecutive radio buttons of the template form one group.
                if (!radios)
                    radios = new QButtonGroup(this);
                button = new QRadioButton(text, this);
                radios->addButton(button);
            }
            connect(button, &QAbstractButton::clicked, this, [this, id, radios] {
                if (!m_Dialog)
                    return;
                Store(id);
                if (radios)
                    for (QAbstractButton* other : radios->buttons())
                        for (auto& [otherId, widget] : m_Widgets)
                            if (widget == other && otherId != id)
                                Store(otherId);
                if (m_Dialog)
                    m_Dialog->PressButton(id);
            });
            w = button;
            break;
        }
        case ORDUNE_DLG_GROUP: {
            auto* group = new QGroupBox(text, this);
            w = group;
            break;
        }
        case ORDUNE_DLG_COMBO:
        case ORDUNE_DLG_COMBOLIST: {
            auto* combo = new QComboBox(this);
            combo->setEditable(item.kind == ORDUNE_DLG_COMBO);
            combo->setInsertPolicy(QComboBox::NoInsert);
            connect(combo, &QComboBox::currentIndexChanged, this, [this, id] { Store(id); });
            // Only the operator's pick and typing are told to the dialog.
            connect(combo, &QComboBox::activated, this, [this, id] {
                Store(id);
                if (m_Dialog && !m_Updating)
                    m_Dialog->SelectionChanged(id);
            });
            if (combo->isEditable()) {
                connect(combo, &QComboBox::editTextChanged, this, [this, id] { Store(id); });
                connect(combo->lineEdit(), &QLineEdit::textEdited, this, [this, id] {
                    Store(id);
                    if (m_Dialog && !m_Updating)
                        m_Dialog->TextEdited(id);
                });
            }
            // The template's height is the opened list's; the box is one line.
            r.setHeight(combo->sizeHint().height());
            w = combo;
            break;
        }
        case ORDUNE_DLG_LISTBOX: {
            auto* list = new QListWidget(this);
            connect(list, &QListWidget::currentRowChanged, this, [this, id] {
                Store(id);
                // Refresh moves the row only while m_Updating is set.
                if (m_Dialog && !m_Updating)
                    m_Dialog->SelectionChanged(id);
            });
            w = list;
            break;
        }
        case ORDUNE_DLG_PROGRESS: {
            auto* bar = new QProgressBar(this);
            bar->setTextVisible(false);
            w = bar;
            break;
        }
        default:
            continue;
        }
        w->setGeometry(r);
        if (item.kind == ORDUNE_DLG_GROUP)
            w->lower();
        if (id != ORDUNE_ID_STATIC) {
            w->setObjectName(QStringLiteral("control%1").arg(id));
            m_Widgets[id] = w;
        }
        m_Placed.push_back({w, item});
    }
    QRect size = UnitsToPixels(0, 0, m_Template.width, m_Template.height);
    m_BaseSize = size.size();
    if (m_Template.style & ORDUNE_STYLE_RESIZABLE) {
        resize(m_BaseSize);
        setMinimumSize(m_BaseSize / 2);
    } else {
        setFixedSize(m_BaseSize);
    }
    for (auto& [id, widget] : m_Widgets)
        Refresh(id, widget);
}

QWidget* CQtDialogWindow::ControlWidget(unsigned id) const
{
    auto it = m_Widgets.find(id);
    return it == m_Widgets.end() ? nullptr : it->second;
}

void CQtDialogWindow::Refresh(unsigned id, QWidget* w)
{
    if (!m_Dialog)
        return;
    const CControlState* state = m_Dialog->FindControl(id);
    if (!state)
        return;
    ++m_Updating;
    w->setEnabled(state->enabled);
    w->setVisible(state->visible);
    QString text = ToWidgetText(state->text);
    if (auto* label = qobject_cast<QLabel*>(w)) {
        if (label->pixmap().isNull() && label->text() != text) {
            label->setText(text);
            // Notices change during long work: show the new text now, not
            // at the next turn of the event loop.
            if (label->isVisible())
                label->repaint();
        }
    } else if (auto* edit = qobject_cast<QLineEdit*>(w)) {
        if (edit->text() != text)
            edit->setText(text);
    } else if (auto* edit = qobject_cast<QPlainTextEdit*>(w)) {
        if (edit->toPlainText() != text)
            edit->setPlainText(text);
    } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
        QStringList items;
        for (const std::string& entry : state->items)
            items << Q(entry);
        QStringList current;
        for (int i = 0; i < combo->count(); ++i)
            current << combo->itemText(i);
        if (items != current) {
            combo->clear();
            combo->addItems(items);
        }
        combo->setCurrentIndex(state->selection);
        if (combo->isEditable() && combo->currentText() != text)
            combo->setEditText(text);
    } else if (auto* list = qobject_cast<QListWidget*>(w)) {
        QStringList items;
        for (const std::string& entry : state->items)
            items << Q(entry);
        list->clear();
        list->addItems(items);
        list->setCurrentRow(state->selection);
    } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
        button->setText(text);
        if (button->isCheckable())
            button->setChecked(state->check != 0);
    } else if (auto* bar = qobject_cast<QProgressBar*>(w)) {
        bar->setRange(state->rangeMin, std::max(state->rangeMin, state->rangeMax));
        bar->setValue(std::clamp(state->position, bar->minimum(), bar->maximum()));
        if (bar->isVisible())
            bar->repaint();
    } else if (auto* group = qobject_cast<QGroupBox*>(w)) {
        group->setTitle(text);
    }
    --m_Updating;
}

void CQtDialogWindow::Store(unsigned id)
{
    if (m_Updating || !m_Dialog)
        return;
    QWidget* w = ControlWidget(id);
    if (!w)
        return;
    CControlState& state = m_Dialog->Control(id);
    if (auto* edit = qobject_cast<QLineEdit*>(w)) {
        state.text = edit->text().toStdString();
    } else if (auto* edit = qobject_cast<QPlainTextEdit*>(w)) {
        state.text = FromMultiline(edit->toPlainText());
    } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
        state.selection = combo->currentIndex();
        state.text = combo->currentText().toStdString();
    } else if (auto* list = qobject_cast<QListWidget*>(w)) {
        state.selection = list->currentRow();
    } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
        state.check = button->isChecked() ? 1 : 0;
    }
}

namespace {

// The keys a dialog may act on, as their virtual-key codes: the paging
// and arrow keys.
unsigned VirtualKey(int qtKey)
{
    const unsigned key = VirtualKeyOf(qtKey, false);
    const bool paging = key == VK_PRIOR || key == VK_NEXT;
    const bool arrow = key >= VK_LEFT && key <= VK_DOWN;
    return paging || arrow ? key : 0;
}

}  // namespace

void CQtDialogWindow::keyPressEvent(QKeyEvent* event)
{
    if (unsigned key = VirtualKey(event->key()); key && m_Dialog)
        m_Dialog->OnKeyDown(key);
    QDialog::keyPressEvent(event);
}

bool CQtDialogWindow::eventFilter(QObject* watched, QEvent* event)
{
    const bool in = event->type() == QEvent::FocusIn;
    if ((in || event->type() == QEvent::FocusOut) && m_Dialog && !m_Updating) {
        for (auto& [id, widget] : m_Widgets)
            if (widget == watched) {
                if (in)
                    m_Dialog->SetFocus(id);
                else
                    m_Dialog->KillFocus(id);
                break;
            }
    }
    return QDialog::eventFilter(watched, event);
}

void CQtDialogWindow::ControlChanged(unsigned id)
{
    QWidget* w = ControlWidget(id);
    if (!w)
        return;
    if (!isVisible())
        m_Stale.insert(id);
    else
        Refresh(id, w);
}

void CQtDialogWindow::showEvent(QShowEvent* event)
{
    std::set<unsigned> stale;
    stale.swap(m_Stale);
    for (unsigned id : stale)
        if (QWidget* w = ControlWidget(id))
            Refresh(id, w);
    QDialog::showEvent(event);
}

void CQtDialogWindow::DialogShown(bool shown)
{
    setVisible(shown);
    if (shown) {
        raise();
        repaint();
    }
}

void CQtDialogWindow::CaptionChanged()
{
    if (m_Dialog)
        setWindowTitle(Q(m_Dialog->Caption()));
}

void CQtDialogWindow::DialogEnded()
{
    CDialog* dialog = m_Dialog;
    m_Dialog = nullptr;
    if (dialog && dialog->View() == this)
        dialog->SetView(nullptr);
    if (m_Modal) {
        QDialog::done(dialog ? dialog->Result() : IDCANCEL);
    } else {
        hide();
        deleteLater();
    }
}

void CQtDialogWindow::WindowMoved()
{
    if (!m_Dialog)
        return;
    QRect offset = UnitsToPixels(m_Dialog->WindowOffsetX(), m_Dialog->WindowOffsetY(), 0, 0);
    if (m_PlacedAt.isNull()) {
        QWidget* owner = parentWidget();
        m_PlacedAt = owner ? owner->geometry().center() - rect().center() : QPoint(0, 0);
    }
    move(m_PlacedAt + offset.topLeft());
}

void CQtDialogWindow::accept()
{
    if (m_Dialog)
        m_Dialog->PressButton(IDOK);
}

void CQtDialogWindow::reject()
{
    if (m_Dialog)
        m_Dialog->PressButton(IDCANCEL);
}

void CQtDialogWindow::closeEvent(QCloseEvent* event)
{
    // The dialog decides: its Cancel ends it, or not (the progress window).
    event->ignore();
    if (m_Dialog)
        m_Dialog->PressButton(IDCANCEL);
}

void CQtDialogWindow::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    if (m_BaseSize.isEmpty())
        return;
    // Stretching controls keep their right and bottom margins.
    QSize grow = size() - m_BaseSize;
    for (const Placed& p : m_Placed)
        if (p.item.style & ORDUNE_STYLE_STRETCH) {
            QRect r = UnitsToPixels(p.item.x, p.item.y, p.item.cx, p.item.cy);
            r.setSize((r.size() + grow).expandedTo(QSize(20, 20)));
            p.widget->setGeometry(r);
        }
}
