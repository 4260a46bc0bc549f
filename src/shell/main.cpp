#include "shell/CMorvikApp.h"

int main(int argc, char** argv)
{
    CMorvikApp app(argc, argv);
    return app.InitInstance() ? app.exec() : 0;
}
