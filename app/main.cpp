#include "app/Application.h"
#include "app/CDirectX.h"
#include "platform/sdl/SdlBackend.h"

int main()
{
    auto backend = platform::createSdlBackend();
    CDirectX dx(backend->services);
    Application app(dx);
    return app.run();
}
