# End-to-end: loading every source into the proxy list.
proxyswitcher_add_localnet_e2e(e2e_sources test_sources.py)
