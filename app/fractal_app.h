#pragma once

// The application object: language choice and bundle, document templates,
// the commands that belong to no document (presets, random presets, colours,
// help, About), and the drawing threads' completion events.

#include "framework/application.h"
#include "render/display_settings.h"

class CFractalApp : public Application {
    Q_OBJECT
public:
    CFractalApp(int& argc, char** argv);
    ~CFractalApp() override;

    static CFractalApp* Instance();

    // The application-wide colours: what new views start from and what the
    // colour bar shows when no fractal view is active.
    ColorSet& CurrentColors();
    QString LanguageCode() const;
    // The fractal document template (the first one registered).
    DocTemplate* FractalTemplate() const;
};
