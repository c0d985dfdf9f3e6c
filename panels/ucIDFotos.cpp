#include "panels/ucIDFotos.h"

#include "platform/ado/SqlCompose.h"

#include <QBuffer>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const char16_t selectPhoto[] =
    u"SELECT imagem FROM tbContactos_Fotos WHERE contacto_id = %1 ORDER BY foto_id DESC";
const char16_t deletePhoto[] = u"DELETE FROM tbContactos_Fotos WHERE contacto_id = %1";
const char16_t insertPhoto[] =
    u"INSERT INTO tbContactos_Fotos (contacto_id, ficheiro, imagem) VALUES (%1, N'%2', N'%3')";

constexpr int side = 160; // the stored picture's largest side, in pixels

} // namespace

ucIDFotos::ucIDFotos(QWidget* parent) : IdentityPanel(QStringLiteral("ucIDFotos1"), parent)
{
    auto* layout = new QVBoxLayout(this);
    picture_ = new QLabel(QStringLiteral("Sem fotografia"), this);
    picture_->setObjectName(QStringLiteral("imgFoto"));
    picture_->setAlignment(Qt::AlignCenter);
    picture_->setMinimumSize(side, side);
    picture_->setFrameShape(QFrame::StyledPanel);
    layout->addWidget(picture_);
    auto* choose = new QPushButton(QStringLiteral("&Escolher fotografia…"), this);
    choose->setObjectName(QStringLiteral("cmdEscolher"));
    layout->addWidget(choose);
    connect(choose, &QPushButton::clicked, this, [this] {
        const QString path =
            QFileDialog::getOpenFileName(this, QStringLiteral("Fotografia do contacto"), {},
                                         QStringLiteral("Imagens (*.png *.jpg *.jpeg *.bmp *.gif)"));
        if (!path.isEmpty())
            LoadFromFile(path);
    });
}

void ucIDFotos::show(const QImage& image)
{
    image_ = image;
    if (image.isNull()) {
        picture_->setPixmap(QPixmap());
        picture_->setText(QStringLiteral("Sem fotografia"));
    } else {
        picture_->setPixmap(QPixmap::fromImage(image));
    }
}

void ucIDFotos::clear()
{
    show(QImage());
}

void ucIDFotos::load()
{
    ado::Recordset rs = query(sql::compose(selectPhoto, {ContactNumber}));
    if (!rs.Eof())
        show(QImage::fromData(QByteArray::fromBase64(text(rs, QStringLiteral("imagem")).toLatin1()), "PNG"));
    rs.Close();
}

bool ucIDFotos::LoadFromFile(const QString& path)
{
    const QImage read(path);
    if (read.isNull()) {
        emit Error(0, QStringLiteral("O ficheiro «") + QFileInfo(path).fileName() +
                          QStringLiteral("» não é uma imagem."));
        return false;
    }
    if (ContactNumber == 0) {
        emit Error(0, QStringLiteral("Grave primeiro o contacto para lhe juntar uma fotografia."));
        return false;
    }
    const QImage scaled = read.scaled(side, side, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    scaled.save(&buffer, "PNG");
    const bool stored = writeNow(QStringLiteral("LoadFromFile"), [&] {
        execute(sql::compose(deletePhoto, {ContactNumber}));
        execute(sql::compose(insertPhoto, {ContactNumber, sql::doubled(QFileInfo(path).fileName()),
                                           QString::fromLatin1(png.toBase64())}));
    });
    if (stored)
        show(scaled);
    return stored;
}
