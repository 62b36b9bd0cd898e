#ifndef BOARD_H
#define BOARD_H

#define LED_PIN 5u

void board_init(void);

#endif
