// Kaleidra, the desktop program.

#include "app/fractal_app.h"
#include "app/version.h"

#include <cstdlib>
#include <ctime>

int main(int argc, char** argv)
{
    // Seeded once: the random commands and the colours of new views draw
    // from the standard generator.
    std::srand(static_cast<unsigned>(std::time(nullptr)));

    CFractalApp app(argc, argv);
    CFractalApp::setApplicationVersion(QString::fromLatin1(kProgramVersion));
    if (const std::optional<int> exitCode = app.InitInstance(app.arguments().mid(1))) {
        return *exitCode;
    }
    return CFractalApp::exec();
}
