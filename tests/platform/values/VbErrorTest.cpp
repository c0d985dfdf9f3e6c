#include "platform/values/VbError.h"
#include <gtest/gtest.h>

TEST(VbError, CarriesNumberDescriptionAndSourceAsVbNamesThem)
{
    try {
        throw vb::Error::cannotCreateObject(QStringLiteral("Notivar.General"));
    } catch (const vb::Error& e) {
        EXPECT_EQ(e.number(), 429);
        EXPECT_EQ(e.description(), QStringLiteral("ActiveX component can't create object"));
        EXPECT_EQ(e.source(), QStringLiteral("Notivar.General"));
        EXPECT_STREQ(e.what(), "429: ActiveX component can't create object");
    }
}
