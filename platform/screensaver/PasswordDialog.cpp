#include "platform/screensaver/PasswordQuestion.h"
#include "platform/ui/MessageBox.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace plat {

bool AskPasswordWithDialog(const PasswordQuestion& question, SecretText& typed) {
    typed.Clear();
    if (!EnsureApplication()) return false;
    auto* parent = static_cast<QWidget*>(question.window);
    QDialog dialog(parent);
    dialog.setWindowTitle(QString::fromStdString(question.caption));
    dialog.setWindowModality(Qt::ApplicationModal);
    // The preview stays on top of every window; an unparented question must not end up behind it.
    if (!parent) dialog.setWindowFlag(Qt::WindowStaysOnTopHint);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(new QLabel(QString::fromStdString(question.prompt), &dialog));
    auto* edit = new QLineEdit(&dialog);
    edit->setEchoMode(QLineEdit::Password);
    edit->setMaxLength(static_cast<int>(SecretText::kCapacity));
    layout->addWidget(edit);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(buttons);
    edit->setFocus();

    bool ok = dialog.exec() == QDialog::Accepted;
    if (ok) {
        QByteArray bytes = edit->text().toUtf8();
        ok = typed.Assign(std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
        WipeMemory(bytes.data(), static_cast<size_t>(bytes.size()));
    }
    // Qt keeps its own copy in the entry; empty it before the dialog goes away.
    edit->clear();
    return ok;
}

} // namespace plat
