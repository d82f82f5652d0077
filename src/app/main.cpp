#include "app/Application.h"
#include "app/Program.h"

int main(int argc, char **argv)
{
    Application app(argc, argv);
    Program program(app);
    return app.exec();
}
