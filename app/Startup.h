#pragma once
// The program's start: folders, the first-start database copy, the
// application's title, its forms in their order, and the message loop.

namespace app {

// Runs the program; returns the process's exit status when the loop ends.
int ApplicationStartup(int argc, char** argv);

// Creates the forms owned by the application, in their order: the data
// module, the main form, the export form, the viewer form.
void CreateForms();

// The web engine's sandbox cannot run for the superuser, and the engine then
// does not start at all (nor the program with it): for the superuser it runs
// without it. Called before the application object is made.
void PrepareWebEngineEnvironment();

} // namespace app
