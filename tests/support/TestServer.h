#pragma once
// A throw-away server for data-access tests: the behavioural suite runs on
// every provider that can give one.
#include <QString>
#include <QTemporaryDir>
#include <functional>
#include <memory>

namespace adotest {

class TestServer {
  public:
    virtual ~TestServer() = default;
    // A complete connection string to a fresh, empty catalog.
    virtual QString connectionString() const = 0;
    virtual QString name() const = 0;
    // T-SQL itself (@@TRANCOUNT, CHAR, CONVERT, + between texts) beyond the
    // portable SQL every provider's suite runs.
    virtual bool speaksTSql() const = 0;
    // Texts holding NUL characters come back whole.
    virtual bool keepsNulCharacters() const { return true; }
};

// The embedded server in a temporary folder, with the login "sa"/"segredo"
// and an empty catalog "Teste".
class EmbeddedTestServer : public TestServer {
  public:
    EmbeddedTestServer();
    QString connectionString() const override;
    QString connectionString(const QString& user, const QString& password) const;
    QString name() const override { return QStringLiteral("embedded"); }
    bool speaksTSql() const override { return true; }
    QString folder() const { return dir_.path(); }

  private:
    QTemporaryDir dir_;
};

using ServerFactory = std::function<std::unique_ptr<TestServer>()>;

} // namespace adotest
