#include "app/application.h"

int main(int argc, char **argv)
{
    VelorinApplication a(argc, argv);
    return app::run();
}
