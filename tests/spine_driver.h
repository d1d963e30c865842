#pragma once
// Drives the main window's modal windows in tests: instead of exec(), each
// window is shown, handed to the test's function, then hidden again.
#include "app/windowregistry.h"
#include "data/modal.h"
#include <QDialog>
#include <QStringList>
#include <functional>

class ModalDriver {
public:
    using Act = std::function<void(QDialog *)>;
    explicit ModalDriver(Act act = {}) : m_act(std::move(act))
    {
        m_previous = data::setShowHook([this](QDialog *d) {
            shown << QString::fromLatin1(d->metaObject()->className());
            d->show();
            if (m_act)
                m_act(d);
            const int result = d->result();
            d->hide();
            return result;
        });
    }
    ~ModalDriver() { data::setShowHook(m_previous); }
    void setAct(Act act) { m_act = std::move(act); }

    QStringList shown;   // class names of the windows shown, in order

private:
    Act m_act;
    data::ShowHook m_previous;
};

// Registers a window class for one test and puts back what was there.
class ScopedWindow {
public:
    ScopedWindow(const QString &cls, app::WindowRegistry::Factory f) : m_cls(cls)
    {
        m_had = app::WindowRegistry::has(cls);
        m_previous = app::WindowRegistry::add(cls, std::move(f));
    }
    ~ScopedWindow()
    {
        if (m_had)
            app::WindowRegistry::add(m_cls, m_previous);
        else
            app::WindowRegistry::remove(m_cls);
    }

private:
    QString m_cls;
    bool m_had = false;
    app::WindowRegistry::Factory m_previous;
};
