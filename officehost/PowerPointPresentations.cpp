#include "officehost/PowerPointPresentations.h"

#include "officehost/PowerPointApplication.h"
#include "officehost/PowerPointPresentation.h"
#include "platform/OfficeDispids.h"

PowerPointPresentations::PowerPointPresentations(PowerPointApplication& application)
    : m_application(application)
{
    // FileName, ReadOnly, Untitled, WithWindow. No password is passed: a
    // protected presentation does not open.
    AddMember(powerpointdispid::kOpen, DISPATCH_METHOD, {Text(true), Integer(), Integer(), Integer()},
              [this](const Arguments& a) {
                  LibreOffice::OpenRequest request;
                  request.path = a.Text(0);
                  auto presentation = std::make_shared<PowerPointPresentation>(
                      m_application,
                      m_application.OpenDocument(request, OfficeDocument::Kind::Presentation,
                                                 QStringLiteral("PowerPoint could not open the file.")));
                  m_application.Track(presentation);
                  return Variant::Dispatch(presentation);
              });
}
