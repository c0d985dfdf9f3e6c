// What makes two contacts probably one, and the groups made of it.
#include "duplicates/Likeness.h"
#include "duplicates/DuplicateFinder.h"
#include "tests/support/QtPrinters.h"
#include <gtest/gtest.h>

using duplicates::Group;
using duplicates::Reason;

TEST(Likeness, NamesNumbersAddressesAndNifsCompareAsTheyAreMeant)
{
    const QString key = duplicates::nameKey(QStringLiteral("João Silva"));
    EXPECT_EQ(key, QStringLiteral("joao silva"));
    for (const char* same : {"Dr. João da Silva", "SILVA, Joao", "Eng.º João Silva", "silva joão"})
        EXPECT_EQ(duplicates::nameKey(QString::fromUtf8(same)), key) << same;
    EXPECT_EQ(duplicates::nameKey(QStringLiteral("Dra. Ana Mónica Alves")),
              duplicates::nameKey(QStringLiteral("Eng.ª Ana Monica Alves")));
    const QString firm = duplicates::nameKey(QStringLiteral("Águas & Companhia, Lda."));
    EXPECT_EQ(firm, QStringLiteral("aguas companhia"));
    for (const char* same : {"Aguas e Companhia", "ÁGUAS & COMPANHIA S.A.", "Águas & Companhia, Limitada"})
        EXPECT_EQ(duplicates::nameKey(QString::fromUtf8(same)), firm) << same;
    EXPECT_NE(duplicates::nameKey(QStringLiteral("João Silva")),
              duplicates::nameKey(QStringLiteral("Joana Silva")));
    EXPECT_EQ(duplicates::nameKey(QStringLiteral("Dr. da")), QString());

    // Similarity counts the edits over the longer name.
    EXPECT_EQ(duplicates::similarity(QStringLiteral("ana silva"), QStringLiteral("ana silva")), 100);
    EXPECT_EQ(duplicates::similarity(QStringLiteral("ana silva"), QStringLiteral("ana silve")), 88);
    EXPECT_EQ(duplicates::similarity(QStringLiteral("abc"), QStringLiteral("xyz")), 0);
    EXPECT_EQ(duplicates::similarity(QString(), QStringLiteral("ab")), 0);
    EXPECT_EQ(duplicates::similarity(QStringLiteral("cristina"), QStringLiteral("cristiana")), 88);

    // Numbers, addresses and NIFs compare as written.
    for (const char* same : {"+351 912 345 678", "00351912345678", "912 345 678", "912345678"})
        EXPECT_EQ(duplicates::comparableNumber(QString::fromLatin1(same)), QStringLiteral("912345678"));
    EXPECT_EQ(duplicates::comparableEmail(QStringLiteral(" Ana.Alves@Exemplo.PT ")),
              QStringLiteral("ana.alves@exemplo.pt"));
    EXPECT_EQ(duplicates::comparableNif(QStringLiteral("123 456 789")), QStringLiteral("123456789"));
}

namespace {

duplicates::Catalog sample()
{
    duplicates::Catalog c;
    c.contacts = {{1, QStringLiteral("Ana Alves"), QStringLiteral("123 456 789"), {}, {}},
                  {2, QStringLiteral("Dra. Ana Alves"), QStringLiteral("123456789"), {}, {}},
                  {3, QStringLiteral("Bruno Costa"), QString(), {}, {}},
                  {4, QStringLiteral("Carla Dias"), QString(), {}, {}},
                  {5, QStringLiteral("Carla Diaz"), QString(), {}, {}},
                  {6, QStringLiteral("Duarte Esteves"), QString(), {}, {}},
                  {7, QStringLiteral("Eva Fonseca"), QString(), {}, {}}};
    c.emails = {{3, QStringLiteral("geral@casa.pt")},
                {7, QStringLiteral("GERAL@casa.pt")},
                {3, QStringLiteral("geral@casa.pt")}};
    c.phones = {{6, QStringLiteral("+351 912 000 111")},
                {7, QStringLiteral("912000111")},
                {1, QStringLiteral("912000111")}};
    return c;
}

QList<QList<qint32>> membersOf(const QList<Group>& groups)
{
    QList<QList<qint32>> out;
    for (const Group& g : groups)
        out << g.members;
    return out;
}

} // namespace

// Each reason finds its contacts once; two reasons for the same contacts
// are one group; the order is the strength of the reason.
TEST(DuplicateGroups, EachReasonOnceStrongestFirstAndDismissedPairsStayApart)
{
    const QList<Group> groups = duplicates::groupsOf(sample());
    ASSERT_EQ(membersOf(groups), (QList<QList<qint32>>{{1, 2}, {3, 7}, {1, 6, 7}, {4, 5}}));
    EXPECT_EQ(groups[0].reasons, (QList<Reason>{Reason::Nif, Reason::Name}));
    EXPECT_EQ(groups[0].description(), QStringLiteral("o mesmo NIF e o mesmo nome"));
    EXPECT_EQ(groups[1].description(), QStringLiteral("o mesmo e-mail geral@casa.pt"));
    EXPECT_EQ(groups[2].description(), QStringLiteral("o mesmo telefone +351 912 000 111"));
    EXPECT_EQ(groups[3].score, 90);
    EXPECT_EQ(groups[3].description(), QStringLiteral("nomes parecidos (90%): Carla Dias / Carla Diaz"));

    // A pair said not to be one is not shown again; a group of three stays
    // while two of it may still be one.
    duplicates::Catalog c = sample();
    c.dismissed = {duplicates::orderedPair(2, 1), duplicates::orderedPair(7, 1)};
    EXPECT_EQ(membersOf(duplicates::groupsOf(c)), (QList<QList<qint32>>{{3, 7}, {1, 6, 7}, {4, 5}}));
    c.dismissed += {duplicates::orderedPair(6, 1), duplicates::orderedPair(6, 7)};
    EXPECT_EQ(membersOf(duplicates::groupsOf(c)), (QList<QList<qint32>>{{3, 7}, {4, 5}}));
}
