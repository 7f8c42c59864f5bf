#include "officehost/ContentGuard.h"

#include "officehost/UnoText.h"

#include <com/sun/star/ucb/IllegalIdentifierException.hpp>
#include <com/sun/star/ucb/UniversalContentBroker.hpp>
#include <com/sun/star/ucb/XContentProvider.hpp>
#include <com/sun/star/uno/Exception.hpp>
#include <cppuhelper/implbase1.hxx>

#include <QDir>
#include <QUrl>

#include <cstdio>
#include <mutex>
#include <set>

using namespace css;

namespace ContentGuard {
namespace {

// Every scheme that reaches another machine among LibreOffice's providers.
const char* const kNetworkSchemes[] = {
    "http",
    "https",
    "ftp",
    "ftps",
    "dav",
    "davs",
    "webdav",
    "webdavs",
    "vnd.sun.star.webdav",
    "vnd.sun.star.webdavs",
    "vnd.libreoffice.cmis",
    "smb",
    "sftp",
    "ssh",
    "afp",
    "nfs",
    "dav+http",
};

struct Rules
{
    std::mutex mutex;
    QStringList folders;
    std::set<QString> files;
};

Rules& TheRules()
{
    static Rules rules;
    return rules;
}

QString Clean(const QString& path)
{
    return QDir::cleanPath(path);
}

// Stands in for a content provider: passes on what is allowed, refuses the
// rest as an address that names nothing (the office's own answer for a
// link whose target is gone).
class GuardedProvider : public cppu::WeakImplHelper1<ucb::XContentProvider>
{
public:
    explicit GuardedProvider(uno::Reference<ucb::XContentProvider> inner) : m_inner(std::move(inner)) {}

    uno::Reference<ucb::XContent>
        SAL_CALL queryContent(const uno::Reference<ucb::XContentIdentifier>& identifier) override
    {
        const rtl::OUString url = identifier.is() ? identifier->getContentIdentifier() : rtl::OUString();
        if (!m_inner.is() || !Allowed(ToQString(url))) {
            // Seen with FOLIANT_OFFICEHOST_VERBOSE=1.
            std::fprintf(stderr, "officehost: link not followed: %s\n", ToQString(url).toUtf8().constData());
            throw ucb::IllegalIdentifierException(
                "Foliant converts what the document holds; it does not follow this link.",
                uno::Reference<uno::XInterface>());
        }
        return m_inner->queryContent(identifier);
    }

    sal_Int32 SAL_CALL compareContentIds(const uno::Reference<ucb::XContentIdentifier>& first,
                                         const uno::Reference<ucb::XContentIdentifier>& second) override
    {
        if (m_inner.is())
            return m_inner->compareContentIds(first, second);
        return first->getContentIdentifier().compareTo(second->getContentIdentifier());
    }

private:
    uno::Reference<ucb::XContentProvider> m_inner;
};

} // namespace

bool Install(const uno::Reference<uno::XComponentContext>& context, const QStringList& folders, QString* why)
{
    {
        Rules& rules = TheRules();
        std::lock_guard<std::mutex> lock(rules.mutex);
        for (const QString& folder : folders)
            rules.folders << Clean(folder);
    }
    try {
        uno::Reference<ucb::XUniversalContentBroker> broker = ucb::UniversalContentBroker::create(context);
        const uno::Reference<ucb::XContentProvider> files = broker->queryContentProvider("file:///");
        broker->registerContentProvider(new GuardedProvider(files), "file", true);
        for (const char* scheme : kNetworkSchemes)
            broker->registerContentProvider(new GuardedProvider({}), rtl::OUString::createFromAscii(scheme),
                                            true);
        return true;
    } catch (const uno::Exception& e) {
        *why =
            QStringLiteral("The office's access to files could not be limited: %1").arg(ToQString(e.Message));
    }
    return false;
}

void Allow(const QString& path)
{
    Rules& rules = TheRules();
    std::lock_guard<std::mutex> lock(rules.mutex);
    rules.files.insert(Clean(path));
}

void AllowFolder(const QString& path)
{
    Rules& rules = TheRules();
    std::lock_guard<std::mutex> lock(rules.mutex);
    const QString folder = Clean(path);
    if (!rules.folders.contains(folder))
        rules.folders << folder;
}

bool Allowed(const QString& url)
{
    const QUrl address(url);
    if (!address.isLocalFile() || !address.host().isEmpty())
        return false;
    const QString path = Clean(address.toLocalFile());
    Rules& rules = TheRules();
    std::lock_guard<std::mutex> lock(rules.mutex);
    if (rules.files.count(path))
        return true;
    for (const QString& folder : rules.folders)
        if (path == folder || path.startsWith(folder + QLatin1Char('/')))
            return true;
    return false;
}

} // namespace ContentGuard
