/* CRC-8 with the polynomial 0x07, for the boot message checksum. */
unsigned char crc8(const unsigned char *data, unsigned length) {
    unsigned char crc = 0;
    while (length--) {
        crc ^= *data++;
        for (int bit = 0; bit < 8; ++bit) {
            crc = (unsigned char)((crc & 0x80u) ? (crc << 1) ^ 0x07u : crc << 1);
        }
    }
    return crc;
}
