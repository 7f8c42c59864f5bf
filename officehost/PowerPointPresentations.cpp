#include "officehost/PowerPointPresentations.h"

#include "officehost/PowerPointApplication.h"
#include "officehost/PowerPointPresentation.h"
#include "platform/OfficeDispids.h"

PowerPointPresentations::PowerPointPresentations(PowerPointApplication& application)
    : m_application(application)
{
    // FileName, ReadOnly, Untitled, WithWindow, and the open password the
    // program passes after them (PowerPoint's own Open takes none).
    AddMember(powerpointdispid::kOpen, DISPATCH_METHOD, {Text(true), Integer(), Integer(), Integer(), Text()},
              [this](const Arguments& a) {
                  LibreOffice::OpenRequest request;
                  request.path = a.Text(0);
                  request.password = a.Text(4);
                  auto presentation = std::make_shared<PowerPointPresentation>(
                      m_application,
                      m_application.OpenDocument(request, OfficeDocument::Kind::Presentation,
                                                 QStringLiteral("PowerPoint could not open the file.")));
                  m_application.Track(presentation);
                  return Variant::Dispatch(presentation);
              });
}
