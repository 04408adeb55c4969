#pragma once

#include <QString>

class QWidget;

// Every message box of the system goes through this service, so tests can read the texts and
// give the answers.
class MessageService {
public:
    virtual ~MessageService() = default;
    virtual void error(const QString& text) = 0;
    virtual void warning(const QString& text) = 0;
    virtual void information(const QString& text) = 0;
    // A confirmation with Yes and No; true for Yes.
    virtual bool confirm(const QString& text) = 0;
};

// Message boxes with the application title as caption and one OK button (Yes and No for
// confirmations), in front of the active window.
class BoxMessageService final : public MessageService {
public:
    void error(const QString& text) override;
    void warning(const QString& text) override;
    void information(const QString& text) override;
    bool confirm(const QString& text) override;
};

// The application title, the caption of every message box.
inline const char* const kApplicationTitle = "Lite_TELM_KOV";
