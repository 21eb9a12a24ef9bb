#pragma once

#include <QString>

namespace reports {

// Used when no report address is configured: the web server of the user's own machine.
// It ends with the root "/" so the appended user id becomes the path, not part of the host.
inline const QString VarsayilanRaporLink = QStringLiteral("http://localhost/");

// The configured report address (RAPORLINK of the first settings row, as stored), or the
// default when there is no row or the text is empty. Throws db::DbError.
QString ReportLink();

// The address the report system is opened at: the report address immediately followed by
// the logged-in user's id.
QString RaporSistemiAdresi();

// The two main-window commands: reads the address and hands it to the system's browser
// (sys::OpenAddress), not looking at the answer; a database error is shown and nothing is opened.
void RaporSisteminiAc();

} // namespace reports
