# Host services: property lists, update checks, D-Bus services on a private bus, clocks, window level;
# the feed fetcher against a loopback server.
rs_add_qtest(tst_platform_plist SOURCES tst_plist.cpp LIBS platform)
rs_add_qtest(tst_platform_services SOURCES tst_services.cpp LIBS platform)
rs_add_qtest(tst_platform_fetcher SOURCES tst_fetcher.cpp LIBS platform)
