#include "platform/values/Conversions.h"
#include "UnderRegional.h"

using namespace vb;

TEST_F(UnderRegional, IntegerConversionsRoundHalvesToEven)
{
    EXPECT_EQ(CInt(Variant(2.5)), 2);
    EXPECT_EQ(CInt(Variant(3.5)), 4);
    EXPECT_EQ(CInt(Variant(2.5000001)), 3);
    EXPECT_EQ(CLng(Variant(-2.5)), -2);
    EXPECT_EQ(CLng(Variant(-2.6)), -3);
    EXPECT_EQ(CLng(text(" 2,5 ")), 2) << "texts are read under the regional settings first";
    EXPECT_EQ(CLng(Variant(Currency{25000})), 2);
    EXPECT_EQ(CLng(Variant(true)), -1);
    EXPECT_EQ(CLng(Variant()), 0);
    EXPECT_EQ(CInt(Variant(-32768.5)), -32768) << "the even neighbour is still in range";
}

TEST_F(UnderRegional, OverflowAndTypeMismatchAreRaisedWhereVbRaisesThem)
{
    EXPECT_EQ(errorOf([] { CInt(Variant(32768)); }), errnum::Overflow);
    EXPECT_EQ(errorOf([] { CInt(Variant(32767.5)); }), errnum::Overflow);
    EXPECT_EQ(errorOf([] { CInt(Variant(32767.4)); }), 0);
    EXPECT_EQ(errorOf([] { CLng(Variant(3e9)); }), errnum::Overflow);
    EXPECT_EQ(errorOf([] { CLng(Variant(-2147483648.0)); }), 0);
    EXPECT_EQ(errorOf([] { CLng(Variant(-2147483649.0)); }), errnum::Overflow);
    EXPECT_EQ(errorOf([] { CSng(Variant(1e39)); }), errnum::Overflow);
    EXPECT_EQ(errorOf([] { CCur(Variant(1e15)); }), errnum::Overflow);
    EXPECT_EQ(errorOf([] { CDbl(text("1e400")); }), errnum::Overflow);

    EXPECT_EQ(errorOf([] { CLng(text("abc")); }), errnum::TypeMismatch);
    EXPECT_EQ(errorOf([] { CDbl(text("")); }), errnum::TypeMismatch);
    EXPECT_EQ(errorOf([] { CBool(text("talvez")); }), errnum::TypeMismatch);
    EXPECT_EQ(errorOf([] { CDate(text("31-02-2024")); }), errnum::TypeMismatch);
    EXPECT_EQ(errorOf([] { CStr(Variant(ObjectRef(std::make_shared<Object>()))); }), errnum::TypeMismatch);
    EXPECT_EQ(errorOf([] { CStr(Variant::missing()); }), errnum::TypeMismatch);

    for (const auto& convert : std::initializer_list<std::function<void(const Variant&)>>{
             [](const Variant& v) { CStr(v); }, [](const Variant& v) { CInt(v); },
             [](const Variant& v) { CLng(v); }, [](const Variant& v) { CDbl(v); },
             [](const Variant& v) { CBool(v); }, [](const Variant& v) { CDate(v); },
             [](const Variant& v) { CCur(v); }})
        EXPECT_EQ(errorOf([&] { convert(Variant::null()); }), errnum::InvalidUseOfNull);
}

TEST_F(UnderRegional, CStrWritesNumbersWithTheRegionalDecimalSeparatorAndNoGrouping)
{
    EXPECT_EQ(CStr(Variant(12.5)), "12,5");
    EXPECT_EQ(CStr(Variant(-1234567.25)), "-1234567,25");
    EXPECT_EQ(CStr(Variant(0.1 + 0.2)), "0,3") << "15 significant digits, as VB";
    EXPECT_EQ(CStr(Variant(1.0 / 3.0)), "0,333333333333333");
    EXPECT_EQ(CStr(Variant(0.0001)), "0,0001");
    EXPECT_EQ(CStr(Variant(0.00001)), "1E-05");
    EXPECT_EQ(CStr(Variant(123456789012345.0)), "123456789012345");
    EXPECT_EQ(CStr(Variant(1234567890123456.0)), "1,23456789012346E+15");
    EXPECT_EQ(CStr(Variant(float(0.1f))), "0,1") << "a Single shows its 7 digits";
    EXPECT_EQ(CStr(Variant(float(12345678.0f))), "1,234568E+07");
    EXPECT_EQ(CStr(Variant(Currency{-12345678})), "-1234,5678");
    EXPECT_EQ(CStr(Variant(Currency{std::numeric_limits<qint64>::min()})), "-922337203685477,5808");
    EXPECT_EQ(CStr(Variant(qint16(-7))), "-7");
    EXPECT_EQ(CStr(Variant(true)), "True");
    EXPECT_EQ(CStr(Variant(false)), "False");
    EXPECT_EQ(CStr(Variant()), "");
    useAmerican();
    EXPECT_EQ(CStr(Variant(12.5)), "12.5");
}

TEST_F(UnderRegional, TextsAreNumbersUnderThePortugueseAndAmericanSettings)
{
    EXPECT_TRUE(IsNumeric(text("  -12  ")));
    EXPECT_TRUE(IsNumeric(text("+1,5E3")));
    EXPECT_TRUE(IsNumeric(text("&HFF")));
    EXPECT_TRUE(IsNumeric(Variant()));
    EXPECT_TRUE(IsNumeric(Variant(true)));
    EXPECT_FALSE(IsNumeric(text("")));
    EXPECT_FALSE(IsNumeric(text("   ")));
    EXPECT_FALSE(IsNumeric(text("12,5,1")));
    EXPECT_FALSE(IsNumeric(text("1 2")));
    EXPECT_FALSE(IsNumeric(text(".5"))) << "a thousands separator needs digits before it";
    EXPECT_FALSE(IsNumeric(text("12abc")));
    EXPECT_FALSE(IsNumeric(Variant::null()));
    EXPECT_FALSE(IsNumeric(Variant::missing()));
    EXPECT_FALSE(IsNumeric(Variant::fromDate(45000)));

    EXPECT_DOUBLE_EQ(CDbl(text("12,5")), 12.5);
    EXPECT_DOUBLE_EQ(CDbl(text("1.234,5")), 1234.5);
    EXPECT_DOUBLE_EQ(CDbl(text("12.5")), 125.0) << "\".\" groups thousands here";
    EXPECT_DOUBLE_EQ(CDbl(text("-1.234.567,125")), -1234567.125);
    EXPECT_DOUBLE_EQ(CDbl(text(",5")), 0.5);
    EXPECT_DOUBLE_EQ(CDbl(text("&HFFFF")), -1.0) << "a 16-bit hexadecimal literal is an Integer";
    EXPECT_DOUBLE_EQ(CDbl(text("&H10000")), 65536.0);
    EXPECT_DOUBLE_EQ(CDbl(text("1D2")), 100.0);

    useAmerican();
    EXPECT_DOUBLE_EQ(CDbl(text("12.5")), 12.5);
    EXPECT_DOUBLE_EQ(CDbl(text("12,5")), 125.0) << "\",\" groups thousands here, as VB reads it";
    EXPECT_DOUBLE_EQ(CDbl(text("1,234.5")), 1234.5);
    EXPECT_FALSE(IsNumeric(text("1.234,5")));
}

TEST_F(UnderRegional, ValReadsTheLeadingNumberWithAPointAlways)
{
    EXPECT_DOUBLE_EQ(Val(QStringLiteral("12,5")), 12.0);
    EXPECT_DOUBLE_EQ(Val(QStringLiteral("12.5kg")), 12.5);
    EXPECT_DOUBLE_EQ(Val(QStringLiteral("  1 2 3abc")), 123.0);
    EXPECT_DOUBLE_EQ(Val(QStringLiteral("-1.5e3x")), -1500.0);
    EXPECT_DOUBLE_EQ(Val(QStringLiteral("2e")), 2.0);
    EXPECT_DOUBLE_EQ(Val(QStringLiteral("&HFFz")), 255.0);
    EXPECT_DOUBLE_EQ(Val(QStringLiteral("&O17")), 15.0);
    EXPECT_DOUBLE_EQ(Val(QStringLiteral("abc")), 0.0);
    EXPECT_DOUBLE_EQ(Val(QString()), 0.0);
    EXPECT_EQ(errorOf([] { Val(QStringLiteral("1e999")); }), errnum::Overflow);
}

TEST_F(UnderRegional, CurrencyAndBooleanConversions)
{
    EXPECT_EQ(CCur(Variant(1.00005)).scaled, 10000) << "halves to even at the fourth decimal";
    EXPECT_EQ(CCur(Variant(1.00015)).scaled, 10002);
    EXPECT_EQ(CCur(Variant(-2.71828)).scaled, -27183);
    EXPECT_EQ(CCur(text("1.234,56")).scaled, 12345600);
    EXPECT_TRUE(CBool(text(" true ")));
    EXPECT_FALSE(CBool(text("FALSE")));
    EXPECT_TRUE(CBool(text("0,5")));
    EXPECT_FALSE(CBool(Variant(0.0)));
    EXPECT_TRUE(CBool(Variant(-1)));
    EXPECT_FLOAT_EQ(CSng(text("1,5")), 1.5f);
}

TEST_F(UnderRegional, TrimRemovesSpacesOnly)
{
    EXPECT_EQ(Trim(QStringLiteral("  a b  ")), "a b");
    EXPECT_EQ(LTrim(QStringLiteral("  a  ")), "a  ");
    EXPECT_EQ(RTrim(QStringLiteral("  a  ")), "  a");
    EXPECT_EQ(Trim(QStringLiteral("\ta\n")), "\ta\n");
    EXPECT_EQ(Trim(QStringLiteral("    ")), "");
}

TEST_F(UnderRegional, VariantsKnowTheirVbTypesAndMissingIsDistinctFromEveryValue)
{
    const Variant missing = Variant::missing();
    EXPECT_TRUE(IsMissing(missing));
    EXPECT_FALSE(IsEmpty(missing));
    EXPECT_FALSE(IsNull(missing));
    EXPECT_FALSE(IsMissing(Variant()));
    EXPECT_FALSE(IsMissing(Variant::null()));
    EXPECT_EQ(missing.type(), VarType::Error);
    EXPECT_EQ(missing.typeName(), "Error");
    for (const Variant& other :
         {Variant(), Variant::null(), Variant(0), Variant(QString()), Variant(false)}) {
        EXPECT_FALSE(Equals(missing, other)) << other.typeName().toStdString();
        EXPECT_FALSE(Equals(other, missing)) << other.typeName().toStdString();
    }
    EXPECT_TRUE(Equals(missing, Variant::missing()));

    EXPECT_EQ(Variant(qint16(1)).type(), VarType::Integer);
    EXPECT_EQ(Variant(1).type(), VarType::Long);
    EXPECT_EQ(Variant(1.0f).type(), VarType::Single);
    EXPECT_EQ(Variant(Currency{1}).typeName(), "Currency");
    EXPECT_EQ(Variant::fromDate(1).typeName(), "Date");
    EXPECT_EQ(Variant(true).type(), VarType::Boolean);
    EXPECT_EQ(Variant("x").typeName(), "String");
    EXPECT_EQ(Variant(ObjectRef()).typeName(), "Nothing");
    EXPECT_EQ(Variant::null().typeName(), "Null");
}

TEST_F(UnderRegional, EqualsComparesAsVbDoes)
{
    EXPECT_TRUE(Equals(text("Lisboa"), text("LISBOA"), Compare::Text));
    EXPECT_FALSE(Equals(text("Lisboa"), text("LISBOA"), Compare::Binary));
    EXPECT_TRUE(Equals(text("Évora"), text("éVORA"), Compare::Text));
    EXPECT_FALSE(Equals(text("Evora"), text("Évora"), Compare::Text)) << "accents still count";
    EXPECT_TRUE(Equals(Variant(), text("")));
    EXPECT_TRUE(Equals(Variant(), Variant(0)));
    EXPECT_TRUE(Equals(Variant(), Variant()));
    EXPECT_FALSE(Equals(Variant(), text(" ")));
    EXPECT_FALSE(Equals(Variant::null(), Variant::null()));
    EXPECT_FALSE(Equals(Variant::null(), Variant()));
    EXPECT_TRUE(Equals(Variant(qint16(2)), Variant(2.0)));
    EXPECT_TRUE(Equals(Variant(true), Variant(-1)));
    EXPECT_TRUE(Equals(Variant(Currency{25000}), Variant(2.5)));
    EXPECT_TRUE(Equals(Variant(12.5), text("12,5")));
    EXPECT_FALSE(Equals(Variant(12.5), text("doze")));
    EXPECT_TRUE(Equals(Variant::fromDate(2), text("01-01-1900")));
    const ObjectRef o = std::make_shared<Object>();
    EXPECT_TRUE(Equals(Variant(o), Variant(o)));
    EXPECT_FALSE(Equals(Variant(o), Variant(std::make_shared<Object>())));
    EXPECT_EQ(errorOf([&] { Equals(Variant(o), Variant(1)); }), errnum::TypeMismatch);
}

TEST_F(UnderRegional, StrCompOrdersBinaryByCodeAndTextIgnoringCase)
{
    EXPECT_EQ(StrComp(QStringLiteral("a"), QStringLiteral("B")), 1) << "binary: lower case after upper";
    EXPECT_EQ(StrComp(QStringLiteral("a"), QStringLiteral("B"), Compare::Text), -1);
    EXPECT_EQ(StrComp(QStringLiteral("abc"), QStringLiteral("ABC"), Compare::Text), 0);
    EXPECT_EQ(StrComp(QStringLiteral("x"), QStringLiteral("x")), 0);
    EXPECT_EQ(StrComp(QStringLiteral("b"), QStringLiteral("ab"), Compare::Text), 1);
}
