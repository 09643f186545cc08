#pragma once
// Values that a build supplies through CMake cache variables (listed in the
// README under "Build settings"): the maker's web server, the about tab's
// texts and the name of the outside form program.

namespace app {

// Host name of the maker's web server, which publishes the version file and the download page.
extern const char* const MakerHost;
// The maker's web page, shown on the about tab and opened by a click on it.
extern const char* const MakerWebPage;
// The author line of the about tab.
extern const char* const AuthorLine;
// The author's e-mail address.
extern const char* const AuthorEmail;
// The outside form program, in which conversions are made, as the help text names it.
extern const char* const FormProgramName;
// The caption of the about tab.
extern const char* const AboutTabCaption;

} // namespace app
