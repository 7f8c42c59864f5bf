#include "officehost/LibreOffice.h"

#include "officehost/ContentGuard.h"
#include "officehost/OfficeDocument.h"
#include "officehost/OfficeDocumentImpl.h"
#include "officehost/UnoText.h"

#include <LibreOfficeKit/LibreOfficeKit.hxx>
#include <LibreOfficeKit/LibreOfficeKitInit.h>

#include <com/sun/star/beans/NamedValue.hpp>
#include <com/sun/star/beans/PropertyValue.hpp>
#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/configuration/theDefaultProvider.hpp>
#include <com/sun/star/container/XNameAccess.hpp>
#include <com/sun/star/document/MacroExecMode.hpp>
#include <com/sun/star/document/UpdateDocMode.hpp>
#include <com/sun/star/document/XTypeDetection.hpp>
#include <com/sun/star/frame/Desktop.hpp>
#include <com/sun/star/lang/XMultiComponentFactory.hpp>
#include <com/sun/star/lang/XMultiServiceFactory.hpp>
#include <com/sun/star/uno/Exception.hpp>
#include <com/sun/star/util/XChangesBatch.hpp>
#include <com/sun/star/util/XFlushable.hpp>

#include "platform/ScratchFolder.h"

#include <QDir>
#include <QFileInfo>

#include <dlfcn.h>

using namespace css;

#ifndef FOLIANT_LIBREOFFICE_PROGRAM_DIR
#define FOLIANT_LIBREOFFICE_PROGRAM_DIR "/usr/lib/libreoffice/program"
#endif

struct LibreOffice::Impl
{
    std::unique_ptr<lok::Office> kit;
    uno::Reference<uno::XComponentContext> context;
    uno::Reference<frame::XDesktop2> desktop;
};

namespace {

// LibreOfficeKit has no call that hands out the office's component context;
// the office keeps it as its process context, which comphelper gives out.
uno::Reference<uno::XComponentContext> ProcessContext(const QString& programFolder)
{
    const QByteArray library = QFile::encodeName(programFolder + QStringLiteral("/libmergedlo.so"));
    void* handle = dlopen(library.constData(), RTLD_LAZY | RTLD_NOLOAD);
    if (!handle)
        handle = dlopen(nullptr, RTLD_LAZY);
    using Getter = uno::Reference<uno::XComponentContext> (*)();
    auto getter = reinterpret_cast<Getter>(dlsym(handle, "_ZN10comphelper26getProcessComponentContextEv"));
    return getter ? getter() : uno::Reference<uno::XComponentContext>();
}

// Sets one configuration value when it is not set so already.
bool Configure(const uno::Reference<lang::XMultiServiceFactory>& provider, const char* node, const char* name,
               const uno::Any& value)
{
    uno::Sequence<uno::Any> args(1);
    args.getArray()[0] <<= beans::NamedValue("nodepath", uno::Any(rtl::OUString::createFromAscii(node)));
    uno::Reference<beans::XPropertySet> access(
        provider->createInstanceWithArguments("com.sun.star.configuration.ConfigurationUpdateAccess", args),
        uno::UNO_QUERY_THROW);
    const rtl::OUString property = rtl::OUString::createFromAscii(name);
    if (access->getPropertyValue(property) == value)
        return false;
    access->setPropertyValue(property, value);
    uno::Reference<util::XChangesBatch>(access, uno::UNO_QUERY_THROW)->commitChanges();
    return true;
}

uno::Any ReadConfiguration(const uno::Reference<lang::XMultiServiceFactory>& provider, const char* node,
                           const char* name)
{
    uno::Sequence<uno::Any> args(1);
    args.getArray()[0] <<= beans::NamedValue("nodepath", uno::Any(rtl::OUString::createFromAscii(node)));
    uno::Reference<beans::XPropertySet> access(
        provider->createInstanceWithArguments("com.sun.star.configuration.ConfigurationAccess", args),
        uno::UNO_QUERY_THROW);
    return access->getPropertyValue(rtl::OUString::createFromAscii(name));
}

// The profile's settings: macros at the highest security level and never
// run; no link of a document followed (no trusted location, so every
// document's links count as untrusted and are blocked; links never updated
// in texts and spreadsheets); no recently-used list, the version recorded, so the office does not
// take each start for its first after an upgrade, and the system's own
// locale, so a document that names no paper (plain text) is laid out on the
// system's paper, as LibreOffice itself lays it out, not on its built-in
// language's.
void ConfigureProfile(const uno::Reference<uno::XComponentContext>& context)
{
    uno::Reference<lang::XMultiServiceFactory> provider = configuration::theDefaultProvider::get(context);
    bool changed = false;
    changed |= Configure(provider, "/org.openoffice.Office.Common/Security/Scripting", "MacroSecurityLevel",
                         uno::Any(sal_Int32(3)));
    changed |= Configure(provider, "/org.openoffice.Office.Common/Security/Scripting",
                         "DisableMacrosExecution", uno::Any(true));
    changed |= Configure(provider, "/org.openoffice.Office.Common/Security/Scripting",
                         "BlockUntrustedRefererLinks", uno::Any(true));
    changed |= Configure(provider, "/org.openoffice.Office.Common/Security/Scripting", "SecureURL",
                         uno::Any(uno::Sequence<rtl::OUString>()));
    changed |= Configure(provider, "/org.openoffice.Office.Writer/Content/Update", "Link",
                         uno::Any(sal_Int32(0))); // never
    changed |= Configure(provider, "/org.openoffice.Office.Calc/Content/Update", "Link",
                         uno::Any(sal_Int32(1))); // never
    // Formulas keep the results the document holds: recalculating would
    // call WEBSERVICE and read external references.
    changed |= Configure(provider, "/org.openoffice.Office.Calc/Formula/Load", "OOXMLRecalcMode",
                         uno::Any(sal_Int32(1))); // never
    changed |= Configure(provider, "/org.openoffice.Office.Calc/Formula/Load", "ODFRecalcMode",
                         uno::Any(sal_Int32(1))); // never
    changed |=
        Configure(provider, "/org.openoffice.Office.Common/History", "PickListSize", uno::Any(sal_Int32(0)));
    changed |=
        Configure(provider, "/org.openoffice.Setup/L10N", "ooSetupSystemLocale", uno::Any(rtl::OUString()));
    changed |= Configure(provider, "/org.openoffice.Setup/Product", "ooSetupLastVersion",
                         ReadConfiguration(provider, "/org.openoffice.Setup/Product", "ooSetupVersion"));
    if (changed)
        uno::Reference<util::XFlushable>(provider, uno::UNO_QUERY_THROW)->flush();
}

} // namespace

LibreOffice::LibreOffice(std::unique_ptr<Impl> impl) : m_impl(std::move(impl)) {}

LibreOffice::~LibreOffice()
{
    m_impl->desktop.clear();
    m_impl->context.clear();
    m_impl->kit.reset(); // ends the office cleanly: its temporary files go with it
}

QString LibreOffice::ProgramFolder()
{
    const QString folder = qEnvironmentVariable("FOLIANT_LIBREOFFICE_PROGRAM_DIR");
    return folder.isEmpty() ? QStringLiteral(FOLIANT_LIBREOFFICE_PROGRAM_DIR) : folder;
}

namespace {

bool Installed(const QString& program, QString* why)
{
    if (QFileInfo::exists(program + QStringLiteral("/libmergedlo.so")) ||
        QFileInfo::exists(program + QStringLiteral("/libsofficeapp.so")))
        return true;
    *why = QStringLiteral("LibreOffice is not installed in %1.").arg(program);
    return false;
}

// Asks once, before any host is forked, what each host would otherwise ask
// the system anew by starting programs: the system's paper (LibreOffice runs
// paperconf) and the signature engines (gpgme, which checks every document's
// signatures, runs gpgconf, gpg and gpgsm). Both keep the answers for the
// life of the process, and the hosts inherit them. Neither starts a thread.
void AskSystemOnce(const QString& program)
{
    const QByteArray library = QFile::encodeName(program + QStringLiteral("/libmergedlo.so"));
    if (void* office = dlopen(library.constData(), RTLD_LAZY | RTLD_NOLOAD)) {
        struct Paper
        {
            int type;
            long width, height;
        };
        using SystemPaper = Paper (*)();
        if (auto paper =
                reinterpret_cast<SystemPaper>(dlsym(office, "_ZN9PaperInfo21getSystemDefaultPaperEv")))
            paper();
    }
    if (void* gpgme = dlopen("libgpgme.so.11", RTLD_LAZY | RTLD_NOLOAD)) {
        using CheckVersion = const char* (*)(const char*);
        using EngineInfo = unsigned (*)(void**);
        auto check = reinterpret_cast<CheckVersion>(dlsym(gpgme, "gpgme_check_version"));
        auto engines = reinterpret_cast<EngineInfo>(dlsym(gpgme, "gpgme_get_engine_info"));
        void* info = nullptr;
        if (check && engines && check(nullptr))
            engines(&info);
    }
}

// Loading changes a few settings, and LibreOffice writes them a second
// later on a thread of its own. The warm office forks only once it is
// single-threaded, so it would idle that second away: the write is done now.
void WriteSettingsNow(const QString& program)
{
    try {
        if (const uno::Reference<uno::XComponentContext> context = ProcessContext(program); context.is())
            uno::Reference<util::XFlushable>(configuration::theDefaultProvider::get(context),
                                             uno::UNO_QUERY_THROW)
                ->flush();
    } catch (const uno::Exception&) {
        // The thread then ends on its own, a second later.
    }
}

} // namespace

bool LibreOffice::Preload(const QString& profileFolder, QString* why)
{
    const QString program = ProgramFolder();
    if (!Installed(program, why))
        return false;
    const QByteArray profileUrl = QUrl::fromLocalFile(profileFolder).toEncoded();
    // The pre-init reads the profile from the environment, not from its argument.
    qputenv("UserInstallation", profileUrl);
    if (lok_preinit(QFile::encodeName(program).constData(), profileUrl.constData()) != 0) {
        *why = QStringLiteral("LibreOffice could not be loaded.");
        return false;
    }
    AskSystemOnce(program);
    WriteSettingsNow(program);
    return true;
}

std::unique_ptr<LibreOffice> LibreOffice::Start(const QString& profileFolder, QString* why)
{
    const QString program = ProgramFolder();
    if (!Installed(program, why))
        return nullptr;
    auto impl = std::make_unique<Impl>();
    const QByteArray programPath = QFile::encodeName(program);
    const QByteArray profileUrl = QUrl::fromLocalFile(profileFolder).toEncoded();
    impl->kit.reset(lok::lok_cpp_init(programPath.constData(), profileUrl.constData()));
    if (!impl->kit) {
        *why = QStringLiteral("LibreOffice could not be started.");
        return nullptr;
    }
    try {
        impl->context = ProcessContext(program);
        if (!impl->context.is()) {
            *why = QStringLiteral("LibreOffice started without its component context.");
            return nullptr;
        }
        impl->desktop = frame::Desktop::create(impl->context);
        ConfigureProfile(impl->context);
        // Only the office itself, its profile and the program's scratch
        // folder; each document and print file is let in by name.
        const QString installation = QFileInfo(program).absolutePath();
        if (!ContentGuard::Install(impl->context,
                                   {installation, QFileInfo(installation).canonicalFilePath(), profileFolder,
                                    ScratchFolder::Path(), QStringLiteral("/usr/share/libreoffice"),
                                    QStringLiteral("/etc/libreoffice")},
                                   why))
            return nullptr;
    } catch (const uno::Exception& e) {
        *why = QStringLiteral("LibreOffice could not be set up: %1").arg(ToQString(e.Message));
        return nullptr;
    }
    return std::unique_ptr<LibreOffice>(new LibreOffice(std::move(impl)));
}

namespace {

// The office may reach the document by either name when it is a link.
void LetIn(const QFileInfo& file)
{
    ContentGuard::Allow(file.absoluteFilePath());
    ContentGuard::Allow(file.canonicalFilePath());
}

} // namespace

LibreOffice::Detected LibreOffice::Detect(const QString& path)
{
    Detected detected;
    // Detection reads the file's bytes through the same guard as loading.
    LetIn(QFileInfo(path));
    try {
        const uno::Reference<lang::XMultiComponentFactory> factory = m_impl->context->getServiceManager();
        uno::Reference<document::XTypeDetection> detection(
            factory->createInstanceWithContext("com.sun.star.document.TypeDetection", m_impl->context),
            uno::UNO_QUERY_THROW);
        const beans::PropertyValue given[] = {Property("URL", uno::Any(FileUrl(path))),
                                              Property("ReadOnly", uno::Any(true))};
        uno::Sequence<beans::PropertyValue> descriptor(given, 2);
        // Deep: the file's bytes are looked at, as loading it would.
        const rtl::OUString type = detection->queryTypeByDescriptor(descriptor, true);
        if (type.isEmpty())
            return detected;
        rtl::OUString filter;
        for (const beans::PropertyValue& p : std::as_const(descriptor))
            if (p.Name == "FilterName")
                p.Value >>= filter;
        if (filter.isEmpty()) {
            uno::Reference<container::XNameAccess> types(detection, uno::UNO_QUERY_THROW);
            uno::Sequence<beans::PropertyValue> properties;
            types->getByName(type) >>= properties;
            for (const beans::PropertyValue& p : std::as_const(properties))
                if (p.Name == "PreferredFilter")
                    p.Value >>= filter;
        }
        if (filter.isEmpty())
            return detected;
        uno::Reference<container::XNameAccess> filters(
            factory->createInstanceWithContext("com.sun.star.document.FilterFactory", m_impl->context),
            uno::UNO_QUERY_THROW);
        uno::Sequence<beans::PropertyValue> properties;
        filters->getByName(filter) >>= properties;
        rtl::OUString service;
        for (const beans::PropertyValue& p : std::as_const(properties))
            if (p.Name == "DocumentService")
                p.Value >>= service;
        detected.filterName = ToQString(filter);
        detected.documentService = ToQString(service);
    } catch (const uno::Exception&) {
        return {};
    }
    return detected;
}

std::unique_ptr<OfficeDocument> LibreOffice::Open(const OpenRequest& request, QString* why)
{
    const QFileInfo file(request.path);
    if (!file.isFile() || !file.isReadable()) {
        *why = QStringLiteral("The file %1 could not be found.").arg(request.path);
        return nullptr;
    }
    // No interaction handler: a question the office would ask (a password,
    // a filter option) makes the load fail instead of waiting for an answer.
    std::vector<beans::PropertyValue> args{
        Property("ReadOnly", uno::Any(true)),
        Property("Hidden", uno::Any(true)),
        Property("MacroExecutionMode", uno::Any(document::MacroExecMode::NEVER_EXECUTE)),
        Property("UpdateDocMode", uno::Any(document::UpdateDocMode::NO_UPDATE)),
    };
    LetIn(file);
    if (!request.password.isEmpty())
        args.push_back(Property("Password", uno::Any(ToOUString(request.password))));
    if (!request.filterName.isEmpty())
        args.push_back(Property("FilterName", uno::Any(ToOUString(request.filterName))));
    if (!request.filterOptions.isEmpty())
        args.push_back(Property("FilterOptions", uno::Any(ToOUString(request.filterOptions))));
    try {
        uno::Reference<lang::XComponent> component = m_impl->desktop->loadComponentFromURL(
            FileUrl(file.absoluteFilePath()), "_blank", 0,
            uno::Sequence<beans::PropertyValue>(args.data(), static_cast<sal_Int32>(args.size())));
        if (!component.is()) {
            *why = QStringLiteral(
                "The document could not be opened: the password is wrong or missing, or the file "
                "is damaged.");
            return nullptr;
        }
        auto impl = std::make_unique<OfficeDocument::Impl>();
        impl->component = component;
        impl->context = m_impl->context;
        return std::make_unique<OfficeDocument>(std::move(impl));
    } catch (const uno::Exception& e) {
        *why = QStringLiteral("The document could not be opened: %1").arg(ToQString(e.Message));
    } catch (...) {
        *why = QStringLiteral("The document could not be opened.");
    }
    return nullptr;
}
