#pragma once

// The real Qt file dialog, answered the way a person answers it: only once it has listed the
// folder with its files (that listing is what could touch the files), the answer is typed in.

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QPointer>
#include <QTimer>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "support/scripted_host.h"

namespace support {

// What a file dialog showed of its folder: each entry's name and type column.
struct Gelistet {
    QString name;
    QString typ;
};

// The entries the dialog shows of the folder it lists now.
inline std::vector<Gelistet> gelistet(QFileDialog* dlg) {
    std::vector<Gelistet> out;
    auto* model = dlg->findChild<QFileSystemModel*>();
    if (!model) return out;
    // The folder's own index only: asking for a file's index would make the model look at it.
    const QModelIndex ordner = model->index(dlg->directory().absolutePath());
    for (int r = 0; r < model->rowCount(ordner); ++r)
        out.push_back({model->index(r, 0, ordner).data().toString(), model->index(r, 2, ordner).data().toString()});
    return out;
}

// Answers the next file dialog that shows: it is taken to the folder of `pfad` (or stays where it
// is when `pfad` is empty), and once the folder's entries have all arrived, `pfad` is chosen, or
// the dialog cancelled when it is empty. `gesehen` gets what the dialog listed.
class Dateidialogantwort : public QObject {
public:
    Dateidialogantwort(std::string pfad, std::function<void(QFileDialog*)> gesehen)
        : m_pfad(QString::fromStdString(pfad)), m_gesehen(std::move(gesehen)) {
        qApp->installEventFilter(this);
        m_uhr.start();
        // Should no dialog ever show its folder, the test fails instead of waiting for ever.
        auto* wache = new QTimer(this);
        wache->setInterval(50);
        connect(wache, &QTimer::timeout, this, [this] {
            if (m_uhr.elapsed() < 15000) return;
            ADD_FAILURE() << "no file dialog listed the folder of " << m_pfad.toStdString();
            if (m_dialog) m_dialog->reject();
            fertig();
        });
        wache->start();
    }

    bool eventFilter(QObject* o, QEvent* e) override {
        auto* dlg = qobject_cast<QFileDialog*>(o);
        if (!dlg || e->type() != QEvent::Show || m_dialog) return false;
        m_dialog = dlg;
        auto* model = dlg->findChild<QFileSystemModel*>();
        const QString ordner = m_pfad.isEmpty() ? dlg->directory().absolutePath() : QFileInfo(m_pfad).absolutePath();
        // The folder's entries come from a thread as queued calls, all before the folder is
        // reported as loaded; nothing of them is taken before the dialog shows.
        connect(model, &QFileSystemModel::directoryLoaded, this, [this, ordner](const QString& geladen) {
            if (QDir(geladen) != QDir(ordner) || m_beantwortet) return;
            m_beantwortet = true;
            QTimer::singleShot(0, this, [this] { antworten(); });
        });
        if (QDir(dlg->directory()) != QDir(ordner)) dlg->setDirectory(ordner);
        return false;
    }

private:
    void antworten() {
        if (!m_dialog) return fertig();
        if (m_gesehen) m_gesehen(m_dialog);
        if (m_pfad.isEmpty()) {
            m_dialog->reject();
        } else {
            // Typed into the name box, as a person does.
            if (auto* name = m_dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
                name->setText(QFileInfo(m_pfad).fileName());
            else ADD_FAILURE() << "the file dialog has no name box";
            static_cast<QDialog*>(m_dialog.data())->accept();
            if (m_dialog && m_dialog->isVisible()) {
                ADD_FAILURE() << "the file dialog did not take " << m_pfad.toStdString();
                m_dialog->reject();
            }
        }
        fertig();
    }
    void fertig() {
        qApp->removeEventFilter(this);
        deleteLater();
    }

    QString m_pfad;
    std::function<void(QFileDialog*)> m_gesehen;
    QPointer<QFileDialog> m_dialog;
    bool m_beantwortet = false;
    QElapsedTimer m_uhr;
};

// Answers the next file dialog with `pfad` ("" cancels it); see Dateidialogantwort.
inline void beantworteDateidialog(const std::string& pfad, std::function<void(QFileDialog*)> gesehen = {}) {
    new Dateidialogantwort(pfad, std::move(gesehen));
}

// The scripted Host with the real file dialog: message and input boxes are answered from the
// queues, file dialogs are Qt's own, answered from the queue of paths once they list the folder.
class HostMitEchtemDateidialog : public forms::ScriptedHost {
public:
    // `pfad` "" cancels.
    HostMitEchtemDateidialog& dateidialog(std::string pfad) {
        m_pfade.push_back(std::move(pfad));
        return *this;
    }
    // Names the dialogs listed, one list per dialog.
    const std::vector<std::vector<QString>>& listen() const { return m_listen; }

    bool fileDialog(forms::FileDialogRequest& req) override {
        std::string pfad;
        if (!m_pfade.empty()) {
            pfad = m_pfade.front();
            m_pfade.erase(m_pfade.begin());
        } else {
            ADD_FAILURE() << "a file dialog no answer was planned for: " << req.title;
        }
        beantworteDateidialog(pfad, [this](QFileDialog* d) {
            std::vector<QString> namen;
            for (const auto& g : gelistet(d)) namen.push_back(g.name);
            m_listen.push_back(namen);
        });
        return m_echt.fileDialog(req);
    }

private:
    forms::QtHost m_echt;
    std::vector<std::string> m_pfade;
    std::vector<std::vector<QString>> m_listen;
};

}  // namespace support
