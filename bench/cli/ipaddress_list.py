#!/usr/bin/env python3
"""Lists every sub-network of a network with Python's ipaddress module, in the
same five tab-separated columns as `velkor --list --format tsv`.

usage: ipaddress_list.py [NETWORK/PREFIX [NEW_PREFIX]]   (default 10.0.0.0/8 29)
"""
import ipaddress
import sys


def main():
    network = ipaddress.ip_network(sys.argv[1] if len(sys.argv) > 1 else "10.0.0.0/8")
    new_prefix = int(sys.argv[2]) if len(sys.argv) > 2 else 29
    write = sys.stdout.write
    write("index\tnetwork\tfirst\tlast\tbroadcast\n")
    for index, subnet in enumerate(network.subnets(new_prefix=new_prefix)):
        start, end = subnet.network_address, subnet.broadcast_address
        write(f"{index}\t{start}\t{start + 1}\t{end - 1}\t{end}\n")


if __name__ == "__main__":
    main()
