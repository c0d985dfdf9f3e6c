# A Debian package of everything that is installed: cpack -G DEB (or the
# "package" target). Its dependencies are the run-time halves of what
# scripts/install-deps.sh installs: the shared libraries' packages come from
# dpkg-shlibdeps, the rest is named here.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quarvenses)
set(CPACK_PACKAGE_VENDOR "Quarvenses")
set(CPACK_PACKAGE_CONTACT "Equipa Quarvenses <suporte@quarvenses.pt>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Contactos Quarvenses: ficha de contactos, anfitrião e ferramentas")
set(CPACK_PACKAGE_DESCRIPTION
    "A ficha de contactos da família Quarvenses, com o anfitrião de secretária, a base de dados embutida compatível com SQL Server, os componentes externos e as ferramentas de administração.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION office)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, qt6-translations-l10n, xdg-utils, fonts-dejavu-core")
# SQL Server through FreeTDS, printing through CUPS: wanted, not required.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "tdsodbc, unixodbc, cups-client")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# The package installs what is installed: no tests or benchmarks, and no debugging symbols.
set(CPACK_STRIP_FILES ON)
include(CPack)
