#include "platform/ui/ui_services.h"

#include "platform/ui/printer.h"
#include "platform/ui/ui_services_qt.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <memory>

namespace ui {

namespace {

TUIServices *gCurrent = nullptr;
QString gTitle = QStringLiteral("Nivora");

TUIServices &DefaultServices()
{
    static std::unique_ptr<TQtUIServices> services = std::make_unique<TQtUIServices>();
    return *services;
}

} // namespace

// ---- message boxes ---------------------------------------------------------

TMsgDlgButtons MessageBoxButtons(unsigned flags)
{
    switch (flags & 0xF) {
    case MB_OKCANCEL:
        return mbOK | mbCancel;
    case MB_ABORTRETRYIGNORE:
        return mbAbort | mbRetry | mbIgnore;
    case MB_YESNOCANCEL:
        return mbYes | mbNo | mbCancel;
    case MB_YESNO:
        return mbYes | mbNo;
    case MB_RETRYCANCEL:
        return mbRetry | mbCancel;
    default:
        return mbOK;
    }
}

TMsgDlgType MessageBoxType(unsigned flags)
{
    switch (flags & 0xF0) {
    case MB_ICONHAND:
        return mtError;
    case MB_ICONQUESTION:
        return mtConfirmation;
    case MB_ICONEXCLAMATION:
        return mtWarning;
    case MB_ICONASTERISK:
        return mtInformation;
    default:
        return mtCustom;
    }
}

TModalResult ModalResultOf(TMsgDlgBtn button)
{
    switch (button) {
    case mbYes:
        return mrYes;
    case mbNo:
        return mrNo;
    case mbOK:
        return mrOk;
    case mbCancel:
        return mrCancel;
    case mbAbort:
        return mrAbort;
    case mbRetry:
        return mrRetry;
    case mbIgnore:
        return mrIgnore;
    case mbAll:
        return mrAll;
    case mbNoToAll:
        return mrNoToAll;
    case mbYesToAll:
        return mrYesToAll;
    case mbClose:
        return mrClose;
    case mbHelp:
        return mrNone;
    }
    return mrNone;
}

TModalResult EscapeResult(TMsgDlgButtons buttons)
{
    if (buttons & mbCancel)
        return mrCancel;
    if (buttons & mbNo)
        return mrNo;
    if (buttons & mbOK)
        return mrOk;
    if (buttons & mbClose)
        return mrClose;
    // A single button answers Escape itself.
    const unsigned answering = buttons & ~static_cast<unsigned>(mbHelp);
    if (answering != 0 && (answering & (answering - 1)) == 0)
        return ModalResultOf(static_cast<TMsgDlgBtn>(answering));
    return mrCancel;
}

TModalResult DefaultResult(TMsgDlgButtons buttons)
{
    if (buttons & mbYes)
        return mrYes;
    if (buttons & mbOK)
        return mrOk;
    for (unsigned bit = 1; bit <= mbClose; bit <<= 1) {
        if ((buttons & bit) && bit != mbHelp)
            return ModalResultOf(static_cast<TMsgDlgBtn>(bit));
    }
    return mrOk;
}

bool ResultOffered(TModalResult result, TMsgDlgButtons buttons)
{
    if (result == mrNone)
        return false;
    for (unsigned bit = 1; bit <= mbClose; bit <<= 1) {
        if ((buttons & bit) && ModalResultOf(static_cast<TMsgDlgBtn>(bit)) == result)
            return true;
    }
    return false;
}

QString MessageDlgCaption(TMsgDlgType type)
{
    switch (type) {
    case mtWarning:
        return QStringLiteral("Warning");
    case mtError:
        return QStringLiteral("Error");
    case mtInformation:
        return QStringLiteral("Information");
    case mtConfirmation:
        return QStringLiteral("Confirm");
    case mtCustom:
        break;
    }
    return ApplicationTitle();
}

void TUIServices::ShowException(const QString &message)
{
    QString text = message;
    if (!text.isEmpty() && text.back() > QLatin1Char('.'))
        text += QLatin1Char('.');
    MessageBox(text, ApplicationTitle(), MB_OK | MB_ICONSTOP);
}

// ---- filters ---------------------------------------------------------------

std::vector<TFilterEntry> ParseFilter(const QString &filter)
{
    std::vector<TFilterEntry> entries;
    if (filter.isEmpty())
        return entries;
    const QStringList fields = filter.split(QLatin1Char('|'));
    for (qsizetype i = 0; i < fields.size(); i += 2) {
        TFilterEntry entry;
        entry.Description = fields[i];
        const QString patterns = i + 1 < fields.size() ? fields[i + 1] : QStringLiteral("*");
        entry.Patterns = patterns.split(QLatin1Char(';'));
        entries.push_back(std::move(entry));
    }
    return entries;
}

QString BuildFilter(const std::vector<TFilterEntry> &entries)
{
    QStringList fields;
    for (const TFilterEntry &entry : entries) {
        fields << entry.Description << entry.Patterns.join(QLatin1Char(';'));
    }
    return fields.join(QLatin1Char('|'));
}

QStringList QtNameFilters(const QString &filter)
{
    QStringList names;
    for (const TFilterEntry &entry : ParseFilter(filter)) {
        QStringList patterns;
        for (const QString &p : entry.Patterns) {
            const QString t = p.trimmed();
            if (!t.isEmpty())
                patterns << (t == QLatin1String("*.*") ? QStringLiteral("*") : t);
        }
        if (patterns.isEmpty())
            patterns << QStringLiteral("*");
        // Qt takes the patterns from the last parenthesised group, so a
        // description that holds parentheses of its own does no harm. Qt
        // keeps its filters with the blanks simplified; so do these, or a
        // description with a trailing blank would never be found again.
        names << (entry.Description + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) +
                  QLatin1Char(')'))
                     .simplified();
    }
    if (names.isEmpty())
        names << QStringLiteral("*");
    return names;
}

int FilterIndexOfQtName(const QString &filter, const QString &qtNameFilter)
{
    const QStringList names = QtNameFilters(filter);
    const qsizetype i = names.indexOf(qtNameFilter.simplified());
    return i < 0 ? 0 : static_cast<int>(i) + 1;
}

QString NormalizedDefaultExt(const QString &defaultExt)
{
    QString ext = defaultExt.trimmed();
    while (ext.startsWith(QLatin1Char('*')) || ext.startsWith(QLatin1Char('.')))
        ext.remove(0, 1);
    return ext;
}

QString ApplyDefaultExt(const QString &fileName, const QString &filter, int filterIndex,
                        const QString &defaultExt)
{
    if (fileName.isEmpty())
        return fileName;
    const QString base = QFileInfo(fileName).fileName();
    if (base.contains(QLatin1Char('.')))
        return fileName;
    const QString fallback = NormalizedDefaultExt(defaultExt);
    if (fallback.isEmpty())
        return fileName;
    QString ext = fallback;
    const std::vector<TFilterEntry> entries = ParseFilter(filter);
    if (filterIndex >= 1 && filterIndex <= static_cast<int>(entries.size())) {
        const QString first = entries[filterIndex - 1].Patterns.value(0).trimmed();
        if (first.startsWith(QLatin1String("*.")) && first.size() > 2) {
            const QString candidate = first.mid(2);
            if (!candidate.contains(QLatin1Char('*')) && !candidate.contains(QLatin1Char('?')))
                ext = candidate;
        }
    }
    return fileName + QLatin1Char('.') + ext;
}

// ---- the current services --------------------------------------------------

TUIServices &Services()
{
    return gCurrent ? *gCurrent : DefaultServices();
}

void SetServices(TUIServices *services)
{
    gCurrent = services;
}

TServicesScope::TServicesScope(TUIServices &services) : FPrevious(gCurrent)
{
    gCurrent = &services;
}

TServicesScope::~TServicesScope()
{
    gCurrent = FPrevious;
}

bool ExecutePrintDialog(TPrinter &printer)
{
    TUIServices &services = Services();
    if (!services.ExecutePrintDialog(printer))
        return false;
    const QString file = printer.OutputFileName();
    if (file.isEmpty() || services.PrintDialogAsksBeforeReplacing() || !QFileInfo::exists(file))
        return true;
    // The question of the save dialogs, in Qt's words.
    const QString question =
        QCoreApplication::translate("QFileDialog", "%1 already exists.\nDo you want to replace it?")
            .arg(QDir::toNativeSeparators(file));
    return services.MessageDlg(question, mtConfirmation, mbYesNo) == mrYes;
}

QString ApplicationTitle()
{
    return gTitle;
}

void SetApplicationTitle(const QString &title)
{
    gTitle = title;
}

} // namespace ui
