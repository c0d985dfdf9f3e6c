# A Debian package of everything that is installed: cpack -G DEB (or the
# "package" target). Its dependencies are the run-time halves of what
# scripts/install-deps.sh installs: the shared libraries' packages come from
# dpkg-shlibdeps, the rest is named here.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quarvenses)
set(CPACK_PACKAGE_VENDOR "Quarvenses")
set(CPACK_PACKAGE_CONTACT "Equipa Quarvenses <suporte@quarvenses.pt>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Contactos Quarvenses: ficha de contactos, anfitrião e ferramentas")
# Lines of the long description stay within 80 columns.
set(CPACK_PACKAGE_DESCRIPTION
    "A ficha de contactos da família Quarvenses, com o anfitrião de secretária,\na base de dados embutida compatível com SQL Server, os componentes externos\ne as ferramentas de administração.")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, qt6-translations-l10n, xdg-utils, fonts-dejavu-core")
# SQL Server through FreeTDS, printing through CUPS: wanted, not required.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "tdsodbc, unixodbc, cups-client")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# The package installs what is installed: no tests or benchmarks, and no debugging symbols.
set(CPACK_STRIP_FILES ON)
# Debian's own documents of the package: its copyright in DEP-5 form and its
# changelog, compressed as dpkg expects (gzip -9n: the same bytes every build).
set(qv_debian_doc ${CMAKE_BINARY_DIR}/debian-doc)
file(MAKE_DIRECTORY ${qv_debian_doc})
execute_process(COMMAND gzip -9n -c ${CMAKE_SOURCE_DIR}/cmake/debian/changelog
                OUTPUT_FILE ${qv_debian_doc}/changelog.Debian.gz)
install(FILES ${CMAKE_SOURCE_DIR}/cmake/debian/copyright ${qv_debian_doc}/changelog.Debian.gz
        DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(FILES ${CMAKE_SOURCE_DIR}/cmake/debian/lintian-overrides DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides
        RENAME quarvenses)
include(CPack)
