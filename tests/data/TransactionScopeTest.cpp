// The unit of writing: the outermost scope begins and ends the transaction;
// a scope opened inside it joins without ending it, and an inner failure
// makes the whole unit fail, so that no caller commits half of its work.
#include "data/TransactionScope.h"
#include "connection/ConnectionState.h"
#include "data/modSQLConnection.h"
#include "platform/ado/AdoError.h"
#include "platform/ado/Recordset.h"
#include "platform/ado/embedded/EmbeddedServer.h"
#include "tests/support/DemoDatabase.h"
#include <gtest/gtest.h>

namespace {

class Units : public ::testing::Test {
  protected:
    void write(const QString& name)
    {
        Data().SqlServer.Execute(
            QStringLiteral("INSERT INTO tbContactos (genero_id, nome_union) VALUES (2, '") + name +
            QStringLiteral("')"));
    }
    int stored(const QString& name)
    {
        return db.count(QStringLiteral("SELECT COUNT(*) FROM tbContactos WHERE nome_union = '") + name +
                        QStringLiteral("'"));
    }

    testsupport::DemoDatabase db;
};

} // namespace

TEST_F(Units, AnInnerScopeJoinsAndAnyFailureUndoesTheWholeUnit)
{
    for (const bool outerCommits : {true, false}) {
        const QString name = outerCommits ? QStringLiteral("Guardada") : QStringLiteral("Desfeita");
        {
            TransactionScope outer;
            outer.begin();
            EXPECT_TRUE(outer.owns());
            write(name);
            {
                TransactionScope inner;
                inner.begin();
                EXPECT_FALSE(inner.owns());
                write(name);
                inner.commit();
            }
            EXPECT_EQ(Data().SqlServer.TransactionLevel(), 1) << "the inner commit left the outer unit open";
            if (outerCommits)
                outer.commit();
        }
        EXPECT_EQ(Data().SqlServer.TransactionLevel(), 0);
        EXPECT_EQ(stored(name), outerCommits ? 2 : 0) << "both writes share the outer unit's fate";
    }

    // A transaction begun outside any scope is joined, and left to its owner.
    Data().SqlServer.BeginTrans();
    {
        TransactionScope joined;
        joined.begin();
        EXPECT_FALSE(joined.owns());
        write(QStringLiteral("Do chamador"));
    } // not committed: the caller's unit is doomed, not rolled back here
    EXPECT_EQ(Data().SqlServer.TransactionLevel(), 1);
    EXPECT_TRUE(Data().SqlServer.TransactionDoomed());
    Data().SqlServer.RollbackTrans();
    EXPECT_FALSE(Data().SqlServer.TransactionDoomed());
    EXPECT_EQ(stored(QStringLiteral("Do chamador")), 0);

    // An inner failure makes the outer commit fail and undo everything.
    {
        TransactionScope outer;
        outer.begin();
        write(QStringLiteral("Metade"));
        {
            TransactionScope inner;
            inner.begin();
            write(QStringLiteral("Metade"));
            // an error here: the inner scope ends without committing
        }
        try {
            outer.commit();
            ADD_FAILURE() << "the outer unit committed after its inner step failed";
        } catch (const vb::Error& e) {
            EXPECT_EQ(e.number(), ado::error::TransactionState);
        }
        EXPECT_FALSE(outer.committed());
    }
    EXPECT_EQ(stored(QStringLiteral("Metade")), 0);
    EXPECT_EQ(Data().SqlServer.TransactionLevel(), 0);
    EXPECT_FALSE(Data().SqlServer.TransactionDoomed()) << "the next unit starts clean";

    TransactionScope next;
    next.begin();
    write(QStringLiteral("Depois"));
    next.commit();
    EXPECT_EQ(stored(QStringLiteral("Depois")), 1);

    // A session the server ends fails the commit, and the owner's rollback leaves nothing.
    TransactionScope unit;
    unit.begin();
    write(QStringLiteral("Perdida"));
    ado::embedded::EmbeddedServer::armFault(1, ado::embedded::EmbeddedServer::FaultKind::Kill);
    EXPECT_THROW(write(QStringLiteral("Perdida")), vb::Error);
    ado::embedded::EmbeddedServer::disarmFault();
    EXPECT_THROW(unit.commit(), vb::Error);
    unit.rollback();
    EXPECT_FALSE(Data().SqlServer.TransactionLost()) << "the owner's rollback clears the loss";
    modSQLConnection::CheckSQLConnection(); // the session the server ended is opened again
    EXPECT_EQ(stored(QStringLiteral("Perdida")), 0);
}
