#include "app/BuildSettings.h"

#if !defined(KONVERZE_MAKER_HOST) || !defined(KONVERZE_MAKER_WEB) || !defined(KONVERZE_AUTHOR) ||                  \
    !defined(KONVERZE_AUTHOR_EMAIL) || !defined(KONVERZE_FORM_PROGRAM) || !defined(KONVERZE_ABOUT_CAPTION)
#error "the about tab's values come from the build settings (app/CMakeLists.txt)"
#endif

namespace app {

const char* const MakerHost = KONVERZE_MAKER_HOST;
const char* const MakerWebPage = KONVERZE_MAKER_WEB;
const char* const AuthorLine = KONVERZE_AUTHOR;
const char* const AuthorEmail = KONVERZE_AUTHOR_EMAIL;
const char* const FormProgramName = KONVERZE_FORM_PROGRAM;
const char* const AboutTabCaption = KONVERZE_ABOUT_CAPTION;

} // namespace app
