# The connector derives from the broker framework's classes.
target_link_libraries(orbisan_connector PUBLIC KlConnector)
