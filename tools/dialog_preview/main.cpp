// dialog_preview ID [ENGLISH|CHINESE]: shows dialog template ID modally, as
// the program renders it, and prints the control states it ended with.
#include "platform/qt/qt_host.h"
#include "platform/resources.h"
#include "ui/dialog.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: dialog_preview ID [ENGLISH|CHINESE]\n");
        return 2;
    }
    QApplication app(argc, argv);
    CQtHost host;
    SetHost(&host);
    std::string language = argc > 2 ? argv[2] : "ENGLISH";
    if (language != "CHINESE" && !LoadLanguageLibrary(language + ".DLL")) {
        std::fprintf(stderr, "Can't load %s.DLL\n", language.c_str());
        return 1;
    }
    CDialog dialog(static_cast<unsigned>(std::atoi(argv[1])));
    int result = dialog.DoModal();
    std::printf("result %d\n", result);
    for (const auto& [id, state] : dialog.Controls())
        std::printf("%u: \"%s\" check %d selection %d\n", id, state.text.c_str(), state.check,
                    state.selection);
    SetHost(nullptr);
    FreeLanguageLibrary();
    return 0;
}
