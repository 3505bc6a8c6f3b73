#include "app/CPrompt.h"

#include "app/LogCategories.h"

namespace
{
// Until the window (or the tool) installs its prompt, nobody is there to answer:
// messages go to the log and every question takes its safe answer, so that
// nothing is lost or overwritten on a question no one saw.
class CUnattendedPrompt final : public CPrompt
{
public:
    void Error(const QString& text, const QString& informativeText) override
    {
        qCWarning(lcApp).noquote() << text << informativeText;
    }
    void Warning(const QString& text, const QString& informativeText) override
    {
        qCWarning(lcApp).noquote() << text << informativeText;
    }
    void Information(const QString& text, const QString& informativeText) override
    {
        qCInfo(lcApp).noquote() << text << informativeText;
    }
    bool Confirm(const QString& text, const QString&) override
    {
        qCWarning(lcApp).noquote() << "Unanswered question, cancelled:" << text;
        return false;
    }
    Choice SaveDiscardCancel(const QString& text, const QString&) override
    {
        qCWarning(lcApp).noquote() << "Unanswered question, cancelled:" << text;
        return Choice::Cancel;
    }
    QString OpenFileName(const QString&, const QString&, const QString&) override { return QString(); }
    QString SaveFileName(const QString&, const QString&, const QString&) override { return QString(); }
    QString FolderName(const QString&, const QString&) override { return QString(); }
};

CPrompt* s_Installed = nullptr;
} // namespace

CPrompt::~CPrompt()
{
    if (s_Installed == this)
        s_Installed = nullptr;
}

CPrompt& CPrompt::Current()
{
    static CUnattendedPrompt unattended;
    return s_Installed ? *s_Installed : unattended;
}

void CPrompt::Install(CPrompt* prompt)
{
    s_Installed = prompt;
}

QStringList CPrompt::OpenFileNames(const QString& title, const QString& folder, const QString& filter)
{
    const QString one = OpenFileName(title, folder, filter);
    return one.isEmpty() ? QStringList() : QStringList{one};
}
