#include "app/CPrompt.h"

#include "app/CMessageBoxPrompt.h"

namespace
{
CPrompt* s_Installed = nullptr;
} // namespace

CPrompt::~CPrompt()
{
    if (s_Installed == this)
        s_Installed = nullptr;
}

CPrompt& CPrompt::Current()
{
    static CMessageBoxPrompt dialogs;
    return s_Installed ? *s_Installed : dialogs;
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
