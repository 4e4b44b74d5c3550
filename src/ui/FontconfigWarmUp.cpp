#include "ui/FontconfigWarmUp.h"

#include <fontconfig/fontconfig.h>

FontconfigWarmUp::FontconfigWarmUp()
    : m_reader([] { FcInit(); })
{
}

FontconfigWarmUp::~FontconfigWarmUp()
{
    wait();
}

void FontconfigWarmUp::wait()
{
    if (m_reader.joinable())
        m_reader.join();
}
