#pragma once
// The words generated contacts are made of: Portuguese given names and
// surnames, titles and professions, streets and real towns with their postal
// codes and telephone prefixes, kinds of firms by business area. UTF-8.
#include <cstddef>

namespace ado::embedded::words {

inline constexpr const char* maleNames[] = {
    "João",    "José",     "António",  "Manuel",    "Francisco", "Pedro",  "Luís",    "Rui",
    "Miguel",  "Tiago",    "Nuno",     "Paulo",     "Carlos",    "Jorge",  "Ricardo", "Sérgio",
    "Diogo",   "Gonçalo",  "Duarte",   "Afonso",    "Rodrigo",   "André",  "Bruno",   "Fernando",
    "Joaquim", "Armando",  "Vítor",    "Hélder",    "Fábio",     "Simão",  "Tomás",   "Martim",
    "Álvaro",  "Henrique", "Salvador", "Sebastião", "Hugo",      "Filipe", "Márcio",  "Óscar"};

inline constexpr const char* femaleNames[] = {
    "Maria",   "Ana",       "Francisca", "Beatriz",  "Inês",    "Catarina", "Sofia",   "Leonor",
    "Mariana", "Helena",    "Conceição", "Teresa",   "Joana",   "Marta",    "Rita",    "Patrícia",
    "Cláudia", "Sónia",     "Fátima",    "Lúcia",    "Graça",   "Glória",   "Céu",     "Lara",
    "Raquel",  "Margarida", "Isabel",    "Filipa",   "Bárbara", "Mónica",   "Vânia",   "Íris",
    "Matilde", "Benedita",  "Carolina",  "Madalena", "Luísa",   "Rosário",  "Natália", "Irene"};

inline constexpr const char* surnames[] = {
    "Silva",      "Santos",  "Ferreira",  "Pereira",   "Oliveira", "Costa",    "Rodrigues", "Martins",
    "Jesus",      "Sousa",   "Fernandes", "Gonçalves", "Gomes",    "Lopes",    "Marques",   "Alves",
    "Almeida",    "Ribeiro", "Pinto",     "Carvalho",  "Teixeira", "Moreira",  "Correia",   "Mendes",
    "Nunes",      "Soares",  "Vieira",    "Monteiro",  "Cardoso",  "Rocha",    "Raposo",    "Neves",
    "Coelho",     "Cruz",    "Cunha",     "Pires",     "Ramos",    "Reis",     "Simões",    "Antunes",
    "Matos",      "Fonseca", "Machado",   "Araújo",    "Barbosa",  "Tavares",  "Lourenço",  "Castro",
    "Figueiredo", "Azevedo", "Freitas",   "Magalhães", "Brandão",  "Baptista", "Falcão",    "Conceição",
    "Valente",    "Sá",      "Guimarães", "Queirós",   "Estêvão",  "Loureiro", "Gusmão",    "Patrício",
    "Brás",       "Galvão",  "Macedo",    "Abreu",     "Caldeira", "Damião",   "D'Ávila",   "Leitão",
    "Assunção",   "Calado",  "Seixas",    "Paixão",    "Romão"};

// A profession in both forms, with the title that goes with it (none: the
// plain Sr./Sra. or nothing).
struct Profession {
    const char* male;
    const char* female;
    const char* maleTitle;
    const char* femaleTitle;
};

inline constexpr Profession professions[] = {
    {"Médico", "Médica", "Dr.", "Dra."},
    {"Advogado", "Advogada", "Dr.", "Dra."},
    {"Economista", "Economista", "Dr.", "Dra."},
    {"Engenheiro civil", "Engenheira civil", "Eng.", "Eng.ª"},
    {"Engenheiro electrotécnico", "Engenheira electrotécnica", "Eng.", "Eng.ª"},
    {"Arquitecto", "Arquitecta", "Arq.", "Arq.ª"},
    {"Professor", "Professora", nullptr, nullptr},
    {"Enfermeiro", "Enfermeira", nullptr, nullptr},
    {"Contabilista", "Contabilista", nullptr, nullptr},
    {"Farmacêutico", "Farmacêutica", "Dr.", "Dra."},
    {"Electricista", "Electricista", nullptr, nullptr},
    {"Técnico de informática", "Técnica de informática", nullptr, nullptr},
    {"Director comercial", "Directora comercial", nullptr, nullptr},
    {"Empresário", "Empresária", nullptr, nullptr},
    {"Comerciante", "Comerciante", nullptr, nullptr},
    {"Agricultor", "Agricultora", nullptr, nullptr},
    {"Reformado", "Reformada", nullptr, nullptr},
    {"Estudante", "Estudante", nullptr, nullptr},
};

inline constexpr const char* plainMaleTitle = "Sr.";
inline constexpr const char* plainFemaleTitle = "Sra.";

inline constexpr const char* nationalities[] = {"Brasileira", "Espanhola", "Francesa", "Cabo-verdiana",
                                                "Angolana",   "Ucraniana", "Guineense"};
inline constexpr const char* ownNationality = "Portuguesa";

inline constexpr const char* streets[] = {"Rua Direita",          "Rua de Santa Catarina",
                                          "Avenida da Liberdade", "Rua do Souto",
                                          "Praça da República",   "Travessa do Carmo",
                                          "Largo da Sé",          "Avenida Sá Carneiro",
                                          "Rua Augusta",          "Rua de Cedofeita",
                                          "Avenida dos Aliados",  "Rua Ferreira Borges",
                                          "Rua 25 de Abril",      "Rua da Misericórdia",
                                          "Avenida Dom João II",  "Rua Conde de Vizela",
                                          "Rua do Comércio",      "Rua das Flores",
                                          "Rua Serpa Pinto",      "Avenida Fernão de Magalhães",
                                          "Rua Almirante Reis",   "Avenida da República",
                                          "Rua de São Bento",     "Calçada do Combro",
                                          "Rua Cândido dos Reis", "Rua Heróis de Chaimite",
                                          "Rua Luís de Camões",   "Avenida Infante Dom Henrique",
                                          "Rua Álvares Cabral",   "Rua da Boavista",
                                          "Rua do Rosário",       "Travessa da Fábrica",
                                          "Rua João de Deus",     "Avenida Marechal Gomes da Costa",
                                          "Rua Gil Vicente",      "Largo do Pelourinho",
                                          "Rua Miguel Bombarda",  "Rua de Aveiro",
                                          "Estrada de Benfica",   "Rua da Estação"};

inline constexpr const char* floors[] = {"r/c", "1.º Esq.", "1.º Dto.", "2.º Esq.", "2.º Dto.", "3.º Frente"};

// A real town, the range of its four-digit postal codes, the prefix of its
// fixed telephones and how Portuguese says "of" before its name.
struct Town {
    const char* name;
    int postalFirst;
    int postalSpan;
    const char* phonePrefix;
    const char* of;
};

inline constexpr Town towns[] = {{"Lisboa", 1000, 990, "21", "de"},
                                 {"Porto", 4000, 370, "22", "do"},
                                 {"Braga", 4700, 120, "253", "de"},
                                 {"Coimbra", 3000, 90, "239", "de"},
                                 {"Aveiro", 3800, 90, "234", "de"},
                                 {"Faro", 8000, 20, "289", "de"},
                                 {"Évora", 7000, 10, "266", "de"},
                                 {"Viseu", 3500, 20, "232", "de"},
                                 {"Setúbal", 2900, 20, "265", "de"},
                                 {"Leiria", 2400, 30, "244", "de"},
                                 {"Guimarães", 4800, 40, "253", "de"},
                                 {"Viana do Castelo", 4900, 40, "258", "de"},
                                 {"Funchal", 9000, 60, "291", "do"},
                                 {"Ponta Delgada", 9500, 60, "296", "de"},
                                 {"Bragança", 5300, 50, "273", "de"},
                                 {"Guarda", 6300, 30, "271", "da"},
                                 {"Castelo Branco", 6000, 10, "272", "de"},
                                 {"Santarém", 2000, 10, "243", "de"},
                                 {"Beja", 7800, 10, "284", "de"},
                                 {"Portalegre", 7300, 10, "245", "de"},
                                 {"Vila Real", 5000, 20, "259", "de"},
                                 {"Amadora", 2700, 20, "21", "da"},
                                 {"Almada", 2800, 25, "21", "de"},
                                 {"Cascais", 2750, 35, "21", "de"},
                                 {"Sintra", 2710, 30, "21", "de"},
                                 {"Matosinhos", 4450, 10, "22", "de"},
                                 {"Vila Nova de Gaia", 4400, 35, "22", "de"},
                                 {"Oeiras", 2780, 15, "21", "de"},
                                 {"Barcelos", 4750, 30, "253", "de"},
                                 {"Póvoa de Varzim", 4490, 10, "252", "da"},
                                 {"Figueira da Foz", 3080, 10, "233", "da"},
                                 {"Covilhã", 6200, 30, "275", "da"},
                                 {"Tomar", 2300, 10, "249", "de"},
                                 {"Lagos", 8600, 10, "282", "de"},
                                 {"Portimão", 8500, 10, "282", "de"},
                                 {"Tavira", 8800, 10, "281", "de"},
                                 {"Chaves", 5400, 20, "276", "de"},
                                 {"Lamego", 5100, 10, "254", "de"},
                                 {"Ílhavo", 3830, 10, "234", "de"},
                                 {"Óbidos", 2510, 10, "262", "de"}};

inline constexpr const char* country = "Portugal";

inline constexpr const char* mobilePrefixes[] = {"91", "92", "93", "96"};

// Kinds of firm named after the business area they are in, as the
// demonstration data spells the areas.
inline constexpr int kindsPerArea = 6;

struct AreaKinds {
    const char* area;
    const char* kinds[kindsPerArea];
};

inline constexpr AreaKinds firmKinds[] = {
    {"Construção civil",
     {"Construções", "Obras e Engenharia", "Imobiliária", "Carpintaria", "Serralharia", "Pinturas"}},
    {"Restauração", {"Restaurante", "Churrasqueira", "Pastelaria", "Marisqueira", "Tasca", "Café"}},
    {"Saúde",
     {"Clínica Médica", "Farmácia", "Laboratório de Análises", "Centro de Fisioterapia", "Clínica Dentária",
      "Óptica"}},
    {"Informática",
     {"Informática", "Sistemas de Informação", "Soluções Digitais", "Tecnologias", "Redes e Comunicações",
      "Electrónica"}},
    {"Comércio a retalho", {"Mercearia", "Livraria", "Sapataria", "Drogaria", "Papelaria", "Ourivesaria"}},
    {"Ensino",
     {"Escola Profissional", "Colégio", "Centro de Formação", "Academia de Línguas", "Externato",
      "Escola de Condução"}},
};

inline constexpr const char* otherFirmKinds[kindsPerArea] = {"Comercial",     "Sociedade",   "Empresa",
                                                             "Distribuidora", "Transportes", "Serviços"};

inline constexpr const char* publicBodies[] = {"Câmara Municipal", "Junta de Freguesia",
                                               "Agrupamento de Escolas", "Centro de Saúde",
                                               "Biblioteca Municipal"};

inline constexpr const char* firmSuffixes[] = {", Lda.", ", S.A.", ", Unipessoal, Lda."};

inline constexpr const char* mailDomains[] = {"exemplo.pt", "exemplo.com.pt", "correio.exemplo.pt"};

inline constexpr const char* relationsToFirms[] = {
    "Gerente", "Sócio", "Administrador", "Contabilista", "Director clínico", "Director comercial"};
inline constexpr const char* relationsToPeople[] = {"Cônjuge", "Irmão", "Filho", "Familiar"};

inline constexpr const char* notes[] = {"Contacto preferencial por correio electrónico.",
                                        "Prefere ser contactado de manhã.",
                                        "Enviar a documentação por correio.",
                                        "Pagamentos por transferência bancária.",
                                        "Não telefonar ao fim-de-semana.",
                                        "Pede sempre factura com número de contribuinte."};

template <class T, std::size_t N> constexpr std::size_t countOf(const T (&)[N])
{
    return N;
}

} // namespace ado::embedded::words
