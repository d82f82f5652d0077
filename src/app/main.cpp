#include "app/Application.h"
#include "app/CommandLine.h"
#include "app/Program.h"

int main(int argc, char **argv)
{
    if (!CommandLine::opensWindow(argc, argv))
        return CommandLine::run(argc, argv);
    Application app(argc, argv);
    if (const int refused = CommandLine::refuseLeftovers(QApplication::arguments()))
        return refused;
    Program program(app);
    return program.exec();
}
